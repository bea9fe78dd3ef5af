#include "TreeImage.h"

#include "NodeText.h"

#include <algorithm>
#include <functional>
#include <vector>

void writeTreeImage(treeInfo& tree, const TreeView& view, const TreeImageStyle& style,
                    const std::function<void(const QString&)>& sink) {
    // The rows of the chain: the index of each row's first node.
    std::vector<fileInfo*> chain;
    std::vector<std::size_t> rows;
    for (fileInfo* n = tree.topGalaxy; n != tree.bottom() && n; n = n->nextShown) {
        if (!n->shown) continue;
        if (chain.empty() || chain.back()->row != n->row) rows.push_back(chain.size());
        chain.push_back(n);
    }

    // Walking backward, follows[i] tells whether a later node of depth i comes before any node
    // shallower than i: exactly what the connector pieces of the earlier lines need. Each row
    // keeps the bits for its levels 0..depth, so the lines can then be made and handed on in
    // order without holding them.
    std::vector<char> follows;
    std::vector<char> bits;             // rows' bits, row after row from the last
    std::vector<std::size_t> bitsAt(rows.size());
    for (std::size_t k = rows.size(); k-- > 0;) {
        const std::size_t begin = rows[k], end = k + 1 < rows.size() ? rows[k + 1] : chain.size();
        const auto d = static_cast<std::size_t>(chain[begin]->depth);
        bitsAt[k] = bits.size();
        for (std::size_t i = 0; i <= d; ++i) bits.push_back(i < follows.size() && follows[i]);
        for (std::size_t j = end; j-- > begin;) {
            const auto e = static_cast<std::size_t>(chain[j]->depth);
            follows.resize(e + 1);
            follows[e] = 1;
        }
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
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::size_t begin = rows[k], end = k + 1 < rows.size() ? rows[k + 1] : chain.size();
        const fileInfo* x = chain[begin];
        const auto d = static_cast<std::size_t>(x->depth);
        auto later = [&](std::size_t i) { return bits[bitsAt[k] + i] != 0; };

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
