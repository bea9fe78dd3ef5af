#include "AtelierHelpText.h"

std::vector<HelpPiece> helpPieces(const QStringList& lines, bool styled) {
    std::vector<HelpPiece> pieces;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.size() > 2) pieces.push_back({QStringLiteral(" "), 0xFFFFFF, 15});
        const int plainSize = line.size() < 3 ? 9 : 11;
        if (styled && line.startsWith(u'_')) pieces.push_back({line.mid(1) + u'\n', 0x00FFFF, 10});
        else if (styled && i < 2) pieces.push_back({line + u'\n', 0xA0FFFF, 12});
        else pieces.push_back({line + u'\n', 0xFFFFFF, plainSize});
    }
    return pieces;
}
