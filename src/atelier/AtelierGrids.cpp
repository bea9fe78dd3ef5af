#include "AtelierGrids.h"

#include "AtelierModel.h"
#include "CommandReference.h"
#include "common/ProgramFont.h"
#include "AtelierWidgets.h"
#include "script/KeywordTables.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {


QFont gridFont(bool bold) { return programFont(QStringLiteral("ＭＳ ゴシック"), 13, bold); }

} // namespace

// ---- MenuGrid ----

MenuGrid::MenuGrid(const AtelierModel& model, std::function<bool()> running, QWidget* parent)
    : QWidget(parent), model_(model), running_(std::move(running)) {
    setObjectName(QStringLiteral("sgCtrl"));
    setFixedSize(160, kRowHeight * AtelierCommandCount);
    setMouseTracking(true);
}

int MenuGrid::rowAt(int y) const {
    const int row = y / kRowHeight;
    return y >= 0 && row < AtelierCommandCount ? row : -1;
}

void MenuGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(gridFont(true));
    const bool running = running_ && running_();
    for (int row = 0; row < AtelierCommandCount; ++row) {
        const MenuRowLook look = model_.menuRow(row, running, row == pressed_);
        const QRect cell(0, row * kRowHeight, width(), kRowHeight);
        p.fillRect(cell, colourOf(look.background));
        p.setPen(colourOf(0x804040));
        p.drawLine(cell.topLeft(), cell.topRight());
        p.setPen(colourOf(look.text));
        p.drawText(cell.adjusted(9, 3, 0, 0), Qt::AlignLeft | Qt::AlignTop, look.label);
    }
}

void MenuGrid::mousePressEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint().y());
    pressed_ = row;
    update();
}

void MenuGrid::mouseReleaseEvent(QMouseEvent* event) {
    const int row = pressed_;
    pressed_ = -1;
    update();
    if (row >= 0 && row == rowAt(event->position().toPoint().y())) emit commandChosen(row);
}

// ---- CategoryGrid ----

CategoryGrid::CategoryGrid(const AtelierModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("sgMode"));
    setFixedHeight(kRowHeight * int(referenceCategories().size()));
}

void CategoryGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(gridFont(true));
    const auto& categories = referenceCategories();
    for (int row = 0; row < int(categories.size()); ++row) {
        const QRect cell(0, row * kRowHeight, width(), kRowHeight);
        const QColor keyword = colourOf(model_.colour(PairKeyword + categories[size_t(row)].table));
        const bool selected = row == model_.category();
        p.fillRect(cell.adjusted(0, 0, 0, -1), selected ? keyword : colourOf(0x302000));
        p.setPen(selected ? QColor(Qt::black) : keyword);
        p.drawText(cell.adjusted(0, 3, 0, 0), Qt::AlignHCenter | Qt::AlignTop, categories[size_t(row)].caption);
    }
}

void CategoryGrid::mouseReleaseEvent(QMouseEvent* event) {
    const int row = event->position().toPoint().y() / kRowHeight;
    if (row >= 0 && row < int(referenceCategories().size())) emit categoryChosen(row);
}

// ---- ReferenceGrid ----

ReferenceGrid::ReferenceGrid(const AtelierModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("sgKestoBasic"));
}

void ReferenceGrid::relayout(int visibleWidth, int visibleHeight) {
    const int table = referenceCategories()[size_t(model_.category())].table;
    heights_.clear();
    int total = kHeaderHeight;
    for (const KeywordEntry& entry : keywordTable(table)) {
        heights_.push_back(referenceRowHeight(entry.explanationLines, model_.expanded()));
        total += heights_.back();
    }
    widths_ = referenceColumnWidths(model_.category(), visibleWidth, total > visibleHeight);
    selected_ = std::clamp(selected_, 1, std::max(1, int(heights_.size())));
    resize(visibleWidth - (total > visibleHeight ? 18 : 0), total);
    update();
}

int ReferenceGrid::rowTop(int row) const {
    int top = kHeaderHeight;
    for (int i = 1; i < row; ++i) top += heights_[size_t(i - 1)];
    return top;
}

void ReferenceGrid::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const ReferenceCategory& category = referenceCategories()[size_t(model_.category())];
    const auto table = keywordTable(category.table);
    const int columns = category.columnCount();
    const int lefts[3] = {0, widths_[0], widths_[0] + widths_[1]};

    // Header.
    p.setFont(gridFont(true));
    for (int c = 0; c < columns; ++c) {
        const QRect cell(lefts[c], 0, c == columns - 1 ? width() - lefts[c] : widths_[size_t(c)], kHeaderHeight);
        p.fillRect(cell.adjusted(0, 0, -1, -1), colourOf(0x403000));
        p.setPen(colourOf(0xE0FFC0));
        p.drawText(cell.adjusted(8, 6, 0, 0), Qt::AlignLeft | Qt::AlignTop, category.headers[size_t(c)]);
    }

    const QFont bold = gridFont(true);
    const QFont plain = gridFont(false);
    int top = kHeaderHeight;
    for (int i = 0; i < int(table.size()); ++i) {
        const int height = heights_.empty() ? 20 : heights_[size_t(i)];
        const QRect rowRect(0, top, width(), height);
        top += height;
        if (!rowRect.intersects(event->rect())) continue;
        const KeywordEntry& entry = table[size_t(i)];
        const bool selected = i + 1 == selected_;
        for (int c = 0; c < columns; ++c) {
            const QRect cell(lefts[c], rowRect.top(), c == columns - 1 ? width() - lefts[c] : widths_[size_t(c)], height);
            p.fillRect(cell.adjusted(0, 0, -1, -1), colourOf(selected ? 0x203000 : 0x302000));
            p.setPen(colourOf(0xE0F0E0));
            p.setFont(c == 0 ? bold : plain);
            const QRect text = cell.adjusted(8, 4, 0, 0);
            const bool descriptionColumn = c == columns - 1;
            if (!descriptionColumn) {
                p.drawText(text, Qt::AlignLeft | Qt::AlignTop, (c == 0 ? entry.standard : entry.japanese).toString());
                continue;
            }
            const std::vector<DescriptionLine> lines = descriptionLines(entry.explanation);
            const int shown = model_.expanded() ? int(lines.size()) : std::min<int>(1, int(lines.size()));
            for (int l = 0; l < shown; ++l) {
                const QRect lineRect = text.translated(0, 20 * l);
                const DescriptionLine& line = lines[size_t(l)];
                if (line.rightAligned) {
                    const int w = p.fontMetrics().horizontalAdvance(line.text);
                    const int left = std::max(lineRect.left(), cell.right() - 20 - w);
                    p.drawText(QRect(left, lineRect.top(), w + 1, 20), Qt::AlignLeft | Qt::AlignTop, line.text);
                } else {
                    p.drawText(lineRect, Qt::AlignLeft | Qt::AlignTop, line.text);
                }
            }
            if (!model_.expanded() && lines.size() >= 2) {
                p.setPen(colourOf(0xA0E0A0));
                p.drawText(cell.adjusted(0, 4, -12, 0), Qt::AlignRight | Qt::AlignTop, QString::number(lines.size()));
            }
        }
    }
}

void ReferenceGrid::mousePressEvent(QMouseEvent* event) {
    const int y = event->position().toPoint().y();
    for (int row = 1; row <= int(heights_.size()); ++row) {
        if (y >= rowTop(row) && y < rowTop(row) + heights_[size_t(row - 1)]) {
            selected_ = row;
            update();
            return;
        }
    }
}
