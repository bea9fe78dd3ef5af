// Small helpers of the universe tests: trees from constellation lines and the lines of a tree.
#pragma once

#include "universe/Constellation.h"
#include "universe/treeInfo.h"

#include <QStringList>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// Reads constellation lines given with "|" for TAB into a fresh tree.
inline bool readChart(treeInfo& tree, const QStringList& lines) {
    QStringList real;
    for (QString line : lines) real.append(line.replace(u'|', u'\t'));
    return readConstellationLines(tree, real, nullptr);
}

// The constellation lines of a tree, "|" for TAB.
inline QStringList chartLines(const treeInfo& tree) {
    QStringList out;
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
        out.append(constellationLine(*n).replace(u'\t', u'|'));
    return out;
}
