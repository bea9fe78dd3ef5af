#include "HelpFile.h"

#include "common/Platform.h"
#include "common/TextCodec.h"

QString helpFileName(int mode) {
    switch (mode) {
    case HelpFull: return QStringLiteral("atelier/help.txt");
    case HelpUniverse: return QStringLiteral("atelier/nebuhelp.txt");
    default: return QStringLiteral("atelier/help_hot.txt");
    }
}

QString helpFilePath(const QString& homeFolder, int mode) {
    return homeFolder + (homeFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) + helpFileName(mode);
}

HelpText splitHelpText(const QString& source) {
    QString text = source;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    HelpText out;
    qsizetype at = 0;
    bool cutLine = false; // the last piece ended inside a line
    while (at < text.size()) {
        const qsizetype lineEnd = text.indexOf(u'\n', at);
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd + 1;
        const qsizetype pieceEnd = std::min(end, at + kHelpPiece);
        QString piece = text.mid(at, pieceEnd - at);
        const bool continuation = cutLine;
        cutLine = pieceEnd < end;
        at = pieceEnd;
        while (piece.endsWith(u'\n')) piece.chop(1);
        // Only a line that is short ends the header, never the short tail of a long one.
        if (continuation) {
            if (!piece.isEmpty()) out.header << piece;
            continue;
        }
        if (piece.size() < 2) break;
        out.header << piece;
    }
    out.body = text.mid(at);
    return out;
}

HelpText readHelpText(const QString& path) {
    HelpText out;
    QByteArray bytes;
    FileFault fault = FileFault::None;
    if (!readFileBytes(path, bytes, kMaxReadBytes, &fault)) {
        out.status = fault == FileFault::Missing ? HelpText::Missing : HelpText::Unreadable;
        out.fault = fileFaultText(fault);
        return out;
    }
    const QString text = decodeText(bytes);
    if (text.isEmpty()) {
        out.status = HelpText::Empty;
        return out;
    }
    out = splitHelpText(text);
    return out;
}
