// The Atelier's colour table: pairs of colours, one for the white board and one for the black
// board, for the editor background, normal text, strings and comment lines, `$` variables, colons
// and the six keyword tables. Colours are 0x00BBGGRR values.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// Roles of the pairs; a keyword of table t takes pair KeywordPair + t.
enum ColourPair : int {
    PairBackground = 0,
    PairText = 1,
    PairString = 2,
    PairVariable = 3,
    PairColon = 4,
    PairKeyword = 5,
    ColourPairCount = 11,
};

// Board numbers: which colour of a pair is used.
enum Board : int { WhiteBoard = 0, BlackBoard = 1 };

class ColourTable {
public:
    // The built-in colours. Cost: constant.
    ColourTable();

    // Colour of `pair` (0 to 10) for `board` (0 white, 1 black). Cost: constant.
    uint32_t colour(int pair, int board) const { return pairs_[pair][board == BlackBoard ? 1 : 0]; }
    void setPair(int pair, uint32_t white, uint32_t black) { pairs_[pair] = {white, black}; }

    // Applies the lines of `color.txt`: line i (lines shorter than 2 characters skipped and not
    // counted) sets pair i from six comma-separated values r, g, b for the white board, then for
    // the black board, each 0 to 255. A line with a missing field or a value out of range is
    // passed over and its pair keeps its colour; lines beyond the last pair are ignored. Returns
    // the number of pairs set. Cost: linear in the text.
    int applyLines(const QStringList& lines);

    // Reads `path` (code page 932) and applies it. False when the file cannot be read (the table
    // unchanged). Cost: the file's size.
    bool readFile(const QString& path);

private:
    std::array<std::array<uint32_t, 2>, ColourPairCount> pairs_;
};
