#include "TreeLayout.h"

#include "NodeText.h"

#include "common/Settings.h"

#include <QStringDecoder>
#include <array>
#include <type_traits>

namespace {

// "*" any run, "?" one unit, other units equal without regard to ASCII case; backtracks only to
// the last "*", so it is linear for patterns with a single star.
template <typename Pattern, typename Name>
bool matchMask(const Pattern& pattern, const Name& name) {
    auto unit = [](auto c) {
        if constexpr (std::is_same_v<decltype(c), QChar>) return foldAscii(c.unicode());
        else return foldAscii(static_cast<char16_t>(static_cast<unsigned char>(c)));
    };
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || unit(pattern[p]) == unit(name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

} // namespace

bool maskMatches(QStringView pattern, QStringView name) {
    return matchMask(pattern, QStringView(name));
}

namespace {

// A node's name as text without an allocation per node: ASCII and well-formed UTF-8 names are
// decoded into a buffer kept across the walk; any other name takes the byte-preserving decoder.
class NameReader {
public:
    // True when the pattern matches the node's name. A pattern of ASCII without "?" is matched on
    // the stored bytes at once: its letters can only meet ASCII bytes, which never occur inside
    // a multi-byte sequence, and "*" runs over whole sequences either way.
    bool matches(const QString& pattern, const fileInfo& node) {
        if (&pattern != lastPattern_) {
            lastPattern_ = &pattern;
            bytePattern_.clear();
            byteMatch_ = !pattern.contains(u'?');
            for (QChar c : pattern) {
                if (c.unicode() >= 0x80) byteMatch_ = false;
                bytePattern_.append(static_cast<char>(c.unicode()));
            }
        }
        if (byteMatch_) return matchMask(QByteArrayView(bytePattern_), node.nameUtf8());
        return maskMatches(pattern, of(node));
    }

private:
    QStringView of(const fileInfo& node) {
        const QByteArrayView bytes = node.nameUtf8();
        if (decoder_.requiredSpace(bytes.size()) > static_cast<qsizetype>(buffer_.size())) return decoded(node);
        qsizetype i = 0;
        for (; i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80; ++i) buffer_[static_cast<std::size_t>(i)] = bytes[i];
        if (i == bytes.size()) return QStringView(buffer_.data(), i);
        decoder_.resetState();
        const QChar* end = decoder_.appendToBuffer(reinterpret_cast<QChar*>(buffer_.data()), bytes);
        if (decoder_.hasError()) return decoded(node);
        return QStringView(buffer_.data(), end - reinterpret_cast<const QChar*>(buffer_.data()));
    }

    QStringView decoded(const fileInfo& node) {
        fallback_ = node.name();
        return fallback_;
    }
    QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    const QString* lastPattern_ = nullptr;
    QByteArray bytePattern_;
    bool byteMatch_ = false;
    std::array<char16_t, 1024> buffer_{};
    QString fallback_;
};

bool inTimeRange(const fileInfo& n, const TreeView& v) { return n.stamp >= v.timeFrom && n.stamp <= v.timeTo; }

// Nodes after `top` inside its subtree and within the display depth; every node of the subtree
// loses its display state on the way, so that the filter and the clearing share one walk.
// Answers the first node after the subtree.
template <typename Visit>
fileInfo* forSubtree(treeInfo& tree, fileInfo* top, int maxDepth, Visit visit) {
    fileInfo* n = top->next;
    for (; n != tree.bottom() && n->depth > top->depth; n = n->next) {
        n->shown = 0;
        n->row = -1;
        if (n->depth <= maxDepth) visit(n);
    }
    return n;
}

} // namespace

LayoutCounts layoutTree(treeInfo& tree, const TreeView& view) {
    LayoutCounts counts;
    NameReader names;
    fileInfo* top = tree.topGalaxy;
    // Nodes outside the top galaxy's subtree lose their display state here, those inside it in
    // the filter's walk.
    for (fileInfo* n = tree.root(); n != top; n = n->next) {
        n->shown = 0;
        n->row = -1;
    }
    top->row = -1;
    tree.root()->nextShown = tree.bottom();
    const int maxDepth = top->depth + view.displayDepth;
    const bool clones = view.viewFlags & ViewClones; // the inversion alone filters nothing
    top->shown = 1;

    fileInfo* after = nullptr; // the first node after the subtree
    if (view.starsShown && (clones || !view.galaxyWild.isEmpty() || !view.starWild.isEmpty())) {
        const bool galaxyOnly = view.starWild.isEmpty();
        const bool starOnly = view.galaxyWild.isEmpty();
        after = forSubtree(tree, top, maxDepth, [&](fileInfo* n) {
            if (!n->isGalaxy() && !inTimeRange(*n, view)) return;
            if (clones) {
                const bool inverted = view.viewFlags & ViewClonesInverted;
                if (inverted ? n->cloneCount > 0 : n->cloneCount <= 0) return;
            }
            if (n->isGalaxy() && starOnly && !clones) return;
            if (!n->isGalaxy() && galaxyOnly && !clones) return;
            const QString& pattern = n->isGalaxy() ? view.galaxyWild : view.starWild;
            if (!pattern.isEmpty() && !names.matches(pattern, *n)) return;
            for (fileInfo* a = n; a && a != top && a != tree.root() && !a->shown; a = a->parent) a->shown = 1;
        });
    } else if (view.starsShown) {
        after = forSubtree(tree, top, maxDepth, [&](fileInfo* n) {
            if (n->isGalaxy() || inTimeRange(*n, view)) n->shown = 1;
        });
    } else {
        after = forSubtree(tree, top, maxDepth, [&](fileInfo* n) {
            if (n->isGalaxy() && (view.galaxyWild.isEmpty() || names.matches(view.galaxyWild, *n))) n->shown = 1;
        });
    }

    for (fileInfo* n = after; n != tree.bottom(); n = n->next) {
        n->shown = 0;
        n->row = -1;
    }

    // The display chain in list order, counted as it grows.
    fileInfo* last = top;
    top->prevShown = nullptr;
    top->shownIndex = 0;
    counts.chain = 1;
    (top->isGalaxy() ? counts.shownGalaxies : counts.shownStars)++;
    for (fileInfo* n = top->next; n != after; n = n->next) {
        if (!n->shown) continue;
        last->nextShown = n;
        n->prevShown = last;
        n->shownIndex = static_cast<int32_t>(counts.chain++);
        (n->isGalaxy() ? counts.shownGalaxies : counts.shownStars)++;
        last = n;
    }
    last->nextShown = tree.bottom();

    if (view.hideStarlessGalaxies) {
        // A backward walk of the chain tells every galaxy whether a shown star lies below it.
        for (fileInfo* n = last; n; n = n->prevShown) {
            if (!n->isGalaxy()) {
                for (fileInfo* a = n->parent; a && a->depth >= top->depth && a->row != -2; a = a->parent) a->row = -2;
            }
        }
        counts.shownGalaxies = 0;
        for (fileInfo* n = top; n != tree.bottom(); n = n->nextShown) {
            if (n->isGalaxy()) {
                n->shown = (n == top || n->row == -2) ? 1 : 0;
                counts.shownGalaxies += n->shown;
            }
            n->row = -1;
        }
    }

    // Rows: a star gathers the following stars of its depth up to the stars per row; without
    // stars, galaxies of one depth share a row until one of them has shown children.
    top->row = 0;
    top->column = 0;
    int64_t row = 1;
    const int perRow = view.starsPerRow < 1 ? 1 : view.starsPerRow;
    fileInfo* n = top->nextShown;
    while (n != tree.bottom()) {
        if (!n->shown) {
            n = n->nextShown;
            continue;
        }
        n->row = static_cast<int32_t>(row);
        n->column = 0;
        int column = 1;
        fileInfo* m = n->nextShown;
        const bool joins = view.starsShown ? !n->isGalaxy() : true;
        while (joins && column < perRow && m != tree.bottom() && m->shown && m->depth == n->depth &&
               (view.starsShown ? !m->isGalaxy() : true)) {
            if (!view.starsShown && m->nextShown != tree.bottom() && m->nextShown->depth == m->depth + 1) break;
            m->row = static_cast<int32_t>(row);
            m->column = column++;
            m = m->nextShown;
        }
        ++row;
        n = m;
    }
    counts.rows = row;
    return counts;
}

QString countersText(const treeInfo& tree, const LayoutCounts& c) {
    return QStringLiteral("最深:") + QString::number(tree.deepestLevel) + QStringLiteral("  検索 ( D=") +
           QString::number(tree.galaxyCount) + QStringLiteral(" F=") + QString::number(tree.starCount) +
           QStringLiteral(" )  表示:") + QString::number(c.chain) + QStringLiteral(" ( D=") +
           QString::number(c.shownGalaxies) + QStringLiteral(" F=") + QString::number(c.shownStars) +
           QStringLiteral(" )");
}
