#include "TreeImage.h"

#include "NodeText.h"

#include <algorithm>
#include <functional>
#include <vector>

void writeTreeImage(treeInfo& tree, const TreeView& view, const TreeImageStyle& style,
                    const std::function<void(const QString&)>& sink) {
    std::vector<fileInfo*> chain;
    for (fileInfo* n = tree.topGalaxy; n != tree.bottom() && n; n = n->nextShown)
        if (n->shown) chain.push_back(n);
    // A row is a run of chain nodes with the same row number; this gives the end of the row that
    // begins at `begin`, or the beginning of the row that ends at `end`.
    auto rowEnd = [&](std::size_t begin) {
        std::size_t end = begin + 1;
        while (end < chain.size() && chain[end]->row == chain[begin]->row) ++end;
        return end;
    };
    auto rowBegin = [&](std::size_t end) {
        std::size_t begin = end - 1;
        while (begin > 0 && chain[begin - 1]->row == chain[end - 1]->row) --begin;
        return begin;
    };

    // Walking backward, follows[i] tells whether a later node of depth i comes before any node
    // shallower than i: exactly what the connector pieces of the earlier lines need. Each row
    // keeps the bits of its levels 0..depth (rows last to first), so the lines can then be made
    // and handed on in order, without holding them.
    std::vector<char> follows;
    std::vector<bool> bits;
    for (std::size_t end = chain.size(); end > 0;) {
        const std::size_t begin = rowBegin(end);
        const auto d = static_cast<std::size_t>(chain[begin]->depth);
        for (std::size_t i = d + 1; i-- > 0;) bits.push_back(i < follows.size() && follows[i]);
        for (std::size_t j = end; j-- > begin;) {
            const auto e = static_cast<std::size_t>(chain[j]->depth);
            follows.resize(e + 1);
            follows[e] = 1;
        }
        end = begin;
    }

    const QString spaces(std::max(0, style.indent), u' ');
    const QString linePiece = QStringLiteral("│") + spaces;
    const QString blankPiece = QStringLiteral("　") + spaces;
    const int perRow = std::max(1, view.starsPerRow);
    const bool cut = perRow > 1 || view.viewFlags != 0;
    const bool galaxyShort = view.starsShown && view.viewFlags == 0;
    auto name = [&](const fileInfo* n) {
        return nameText(*n, galaxyShort, cut, style.formatOptions, style.nameLength, false);
    };

    sink(QStringLiteral("〔 HD_宇宙 〕"));
    QString line;
    std::size_t bitAt = bits.size();
    for (std::size_t begin = 0, end = 0; begin < chain.size(); begin = end) {
        end = rowEnd(begin);
        const fileInfo* x = chain[begin];
        const auto d = static_cast<std::size_t>(x->depth);
        // Rows were pushed last first, each deepest level first: level i is d - i after its start.
        bitAt -= d + 1;
        auto later = [&](std::size_t i) { return bits[bitAt + d - i] != 0; };

        if (d == 0) line = view.starsShown ? QStringLiteral("  ") : QStringLiteral("─");
        else {
            line = QStringLiteral("    ");
            for (std::size_t i = 0; i < d; ++i) line += later(i) ? linePiece : blankPiece;
        }
        line += later(d) ? QStringLiteral("├") : QStringLiteral("└");

        if (!view.starsShown) {
            line += u' ' + name(x);
            if (view.viewFlags) line += detailText(*x, view.viewFlags, style.formatOptions);
            for (std::size_t j = begin + 1; j < end; ++j) line += QStringLiteral("  ") + name(chain[j]);
        } else if (!x->isGalaxy() && (perRow > 1 || view.viewFlags == 0)) {
            if (perRow == 1) line += x->name();
            else {
                line += name(x);
                for (std::size_t j = begin + 1; j < end; ++j) line += QStringLiteral("  ") + name(chain[j]);
            }
        } else if (x->isGalaxy() && view.viewFlags == 0) {
            line += QStringLiteral("< ") + x->name() + QStringLiteral(" >");
        } else {
            line += name(x) + detailText(*x, view.viewFlags, style.formatOptions);
        }
        sink(line);
    }
}

QStringList treeImageLines(treeInfo& tree, const TreeView& view, const TreeImageStyle& style) {
    QStringList out;
    writeTreeImage(tree, view, style, [&](const QString& line) { out.append(line); });
    return out;
}
