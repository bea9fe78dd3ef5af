// The text of the Atelier's help panel, read from `atelier.txt`, as a list of styled pieces that
// the window appends to its rich text one after another.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

struct HelpPiece {
    QString text;      // with its line end, or the single spacer " "
    uint32_t colour = 0xFFFFFF; // 0x00BBGGRR
    int size = 11;     // points
    bool operator==(const HelpPiece&) const = default;
};

// Pieces of the help text. Before a line longer than 2 characters a white spacer " " of size 15
// is added. Styled form: a line beginning with "_" is shown without it in 0x00FFFF at size 10,
// the first two lines in 0xA0FFFF at size 12, the others in white at 9 (shorter than 3
// characters) or 11. Plain form: every line in white at 9 or 11. Lines get "\n" as their end.
// Cost: linear in the text.
std::vector<HelpPiece> helpPieces(const QStringList& lines, bool styled);
