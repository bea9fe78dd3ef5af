#include "WorksList.h"

#include <algorithm>

WorksList::RowLook WorksList::look(int row, QSize size, int currentRow, bool running) const {
    RowLook l;
    const CatalogEntry e = catalog_.rowToEntry(row);
    if (!e.source || size.height() < 3) return l;
    l.drawn = true;
    const bool current = row == currentRow;
    l.framed = current;
    const int w = size.width(), h = size.height(), mid = h / 2;
    if (!e.group) {
        l.background = current ? 0x3000 : 0xFFD080;
        l.textColour = current ? 0xB0C0A0 : 0x3000;
        l.textLeft = 10;
        l.text = e.source->name;
        if (e.source->groupCount < 0) {
            l.struckThrough = true;
            l.strike = QLine(9, 2, w - 9, h - 2);
        }
        return l;
    }
    const bool lastGroup = !e.group->hasNext();
    if (!e.work) {
        l.background = current ? 0x6000 : e.group->tourFlag != 0 ? 0x90FF50 : 0xD0E090;
        l.textColour = current ? 0xC0D0B0 : e.group->tourFlag != 0 ? 0x6000 : 0x8000;
        l.textLeft = 36;
        l.text = e.group->title;
        l.treeLines.push_back(QLine(10, 0, 10, lastGroup ? mid : h));
        l.treeLines.push_back(QLine(10, mid, 30, mid));
        return l;
    }
    l.background = current ? (running ? 0x40 : 0x303030) : 0xF0FFE8;
    l.textColour = current ? 0x80FFFF : (e.work->showFlag != 0 && e.group->tourFlag != 0) ? 0x804020 : 0x606080;
    l.textLeft = 56;
    l.text = e.work->title;
    if (!lastGroup) l.treeLines.push_back(QLine(10, 0, 10, h));
    const bool lastWork = static_cast<size_t>(e.work->index) + 1 >= e.group->works.size();
    l.treeLines.push_back(QLine(40, 0, 40, lastWork ? mid : h));
    l.treeLines.push_back(QLine(40, mid, 56, mid));
    l.currentWorkLine = current;
    l.runButton = current;
    return l;
}

std::vector<int> WorksList::rowHeights(int fold, const CatalogEntry& at) const {
    std::vector<int> heights(static_cast<size_t>(catalog_.rowCount()), kRowHeight);
    if (fold == 0) return heights;
    for (int row = 0; row < catalog_.rowCount(); ++row) {
        const CatalogEntry e = catalog_.rowToEntry(row);
        if (!e.work) continue;
        const bool kept = (fold & FoldGroup) ? e.group == at.group : e.source == at.source;
        if (!kept) heights[static_cast<size_t>(row)] = 0;
    }
    return heights;
}

int WorksList::panelHeight(const std::vector<int>& heights, int galleryHeight, bool folded) {
    const int cap = galleryHeight * 2 / 3;
    if (!folded) return std::min((kRowHeight + 1) * (static_cast<int>(heights.size()) + 1) + 12, cap);
    const auto visible = std::count_if(heights.begin(), heights.end(), [](int h) { return h > 0; });
    return std::min(25 * static_cast<int>(visible), cap) + 34;
}

int WorksList::neededWidth(const QFontMetrics& metrics) const {
    int widest = 0;
    for (const auto& source : catalog_.sources())
        for (const auto& group : source->groups) {
            widest = std::max(widest, metrics.horizontalAdvance(group->title));
            for (const auto& work : group->works) widest = std::max(widest, metrics.horizontalAdvance(work->title));
        }
    return widest + 100;
}

int WorksList::foldAfterSelect(int fold, int row, bool toggle, bool oneDisplay, const acmdGroupInfo* currentGroup) const {
    const CatalogEntry e = catalog_.rowToEntry(row);
    if (!e.source || e.work) return fold;
    if (!e.group) return toggle ? (fold ^ FoldSource) & ~FoldGroup : 0;
    if (!toggle) return 0;
    const int both = FoldSource | FoldGroup;
    return (oneDisplay && fold == both && e.group == currentGroup) ? FoldSource : both;
}

QString WorksList::hint(int row) const {
    const CatalogEntry e = catalog_.rowToEntry(row);
    if (e.source && !e.group) return e.source->location;
    if (e.work) return e.work->fileName;
    return QStringLiteral(" 展示作品の選択　");
}
