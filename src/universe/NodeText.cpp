#include "NodeText.h"

#include "common/TextCodec.h"
#include "common/Texts.h"

namespace {

QString markOf(const fileInfo& node) { return node.meta ? node.meta->mark() : QString(); }

// Cuts `text` so that it ends with dots and takes `limit` columns.
QString cutToWidth(const QString& text, int bytes, int limit) {
    if (text.size() < bytes) {
        // Double-byte characters: drop from the end until the text fits with its dots.
        QString cut = text;
        int length = ansiLength(cut);
        while (length > limit - 2 && !cut.isEmpty()) {
            cut.chop(1);
            length = ansiLength(cut);
        }
        return cut + (length < limit - 2 ? QStringLiteral("...") : QStringLiteral(".."));
    }
    return text.left(qMax(0, limit - 2)) + QStringLiteral("..");
}

} // namespace

QString nameText(const fileInfo& node, bool galaxyShort, bool cut, int formatOptions, int width, bool compact) {
    const QString mark = markOf(node);
    if (node.isGalaxy()) {
        QString text = QStringLiteral("< ") + node.name() + QStringLiteral(" >") + mark;
        if (galaxyShort) return text;
        const int w = node.nameBytes + 4 + (mark.isEmpty() ? 0 : 3);
        if (cut && width < w - (mark.isEmpty() ? 0 : 3)) {
            const int limit = mark.isEmpty() ? width : width - 3;
            return cutToWidth(QStringLiteral("< ") + node.name() + QStringLiteral(" >"), node.nameBytes + 4, limit) + mark;
        }
        return text;
    }
    if (compact) {
        if (node.name().size() >= 10) return node.name();
        return QStringLiteral("  ") + node.name().rightJustified(10, u' ') + u' ';
    }
    QString base = node.name();
    QString extension;
    int w = node.nameBytes;
    const qsizetype dot = base.lastIndexOf(u'.');
    const bool aside = (formatOptions & FormatExtension) && dot >= 0;
    if (aside) {
        extension = base.mid(dot) + mark;
        base.truncate(dot);
        w = node.nameBytes - ansiLength(node.name().mid(dot));
        while (w < width) {
            base += u' ';
            ++w;
        }
    } else if (!mark.isEmpty()) {
        w += 3;
    }
    const int markWidth = (!aside && !mark.isEmpty()) ? 3 : 0;
    if ((cut || aside) && width < w - markWidth) {
        const int limit = width - markWidth;
        base = cutToWidth(base, aside ? w : node.nameBytes, limit);
    }
    if (!aside) base += mark;
    return base + extension;
}

QString detailText(const fileInfo& node, int viewFlags, int formatOptions) {
    QString text;
    if (viewFlags & ViewSize) {
        text += (formatOptions & FormatShortSize) ? sizeText(node.size) : commaText(QString::number(node.size), 16);
        text += QStringLiteral("  ");
    }
    if (viewFlags & ViewTime) text += dateText(node.stamp) + QStringLiteral("  ");
    if (viewFlags & ViewAttributes) {
        text += (node.kind & KindArchive) ? u'A' : u'.';
        text += (node.kind & KindHidden) ? u'H' : u'.';
        text += (node.kind & KindSystem) ? u'S' : u'.';
        text += (node.kind & KindReadOnly) ? u'R' : u'.';
        text += QStringLiteral("  ");
    }
    if (viewFlags & ViewClones)
        text += node.cloneCount < 0 ? QStringLiteral("    ") : QString::number(node.cloneCount).rightJustified(4, u' ');
    return text;
}
