#include "TreeImage.h"

#include "NodeText.h"

#include <algorithm>
#include <vector>

QStringList treeImageLines(treeInfo& tree, const TreeView& view, const TreeImageStyle& style) {
    std::vector<fileInfo*> chain;
    for (fileInfo* n = tree.topGalaxy; n != tree.bottom() && n; n = n->nextShown)
        if (n->shown) chain.push_back(n);

    const QString spaces(std::max(0, style.indent), u' ');
    const QString linePiece = QStringLiteral("│") + spaces;
    const QString blankPiece = QStringLiteral("　") + spaces;
    const int perRow = std::max(1, view.starsPerRow);
    const bool cut = perRow > 1 || view.viewFlags != 0;
    const bool galaxyShort = view.starsShown && view.viewFlags == 0;
    auto name = [&](const fileInfo* n) {
        return nameText(*n, galaxyShort, cut, style.formatOptions, style.nameLength, false);
    };

    // Walking backward, follows[i] tells whether a later node of depth i comes before any node
    // shallower than i: exactly what the connector pieces of the earlier lines need.
    std::vector<char> follows;
    std::vector<QString> lines;
    std::size_t end = chain.size();
    while (end > 0) {
        std::size_t begin = end - 1;
        while (begin > 0 && chain[begin - 1]->row == chain[end - 1]->row) --begin;
        const fileInfo* x = chain[begin];
        const auto d = static_cast<std::size_t>(x->depth);
        auto later = [&](std::size_t i) { return i < follows.size() && follows[i]; };

        QString line;
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
            if (perRow == 1) line += x->name;
            else {
                line += name(x);
                for (std::size_t j = begin + 1; j < end; ++j) line += QStringLiteral("  ") + name(chain[j]);
            }
        } else if (x->isGalaxy() && view.viewFlags == 0) {
            line += QStringLiteral("< ") + x->name + QStringLiteral(" >");
        } else {
            line += name(x) + detailText(*x, view.viewFlags, style.formatOptions);
        }
        lines.push_back(std::move(line));

        for (std::size_t j = end; j-- > begin;) {
            const auto e = static_cast<std::size_t>(chain[j]->depth);
            follows.resize(e + 1);
            follows[e] = 1;
        }
        end = begin;
    }

    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()) + 1);
    out.append(QStringLiteral("〔 HD_宇宙 〕"));
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) out.append(std::move(*it));
    return out;
}
