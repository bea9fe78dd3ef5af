// The bilingual vocabulary of Kesto Basic: six keyword tables and the token codes that a compiled
// statement uses in their place. The tables' order and the entries' order are part of the codes.
#pragma once

#include "KestoCodes.h"

#include <QString>
#include <QStringView>

#include <span>

// One keyword. `japanese` is empty for functions and control words. The Atelier fills
// `explanation` and `explanationLines` from its command reference once it opens.
struct KeywordEntry {
    KeywordEntry(QStringView standardName, QStringView japaneseName, int lines = 1)
        : standard(standardName), japanese(japaneseName), explanationLines(lines) {}

    QStringView standard;
    QStringView japanese;
    QString explanation;
    int explanationLines = 1;
};

// Table numbers; the number is part of the token code.
enum KeywordTableId : int {
    TableAttributes = 0,
    TableKinds = 1,
    TableSettings = 2,
    TableBlocks = 3,
    TableFunctions = 4,
    TableControls = 5,
    KeywordTableCount = 6,
};

// The entries of table `table` (0 to 5), in their fixed order. Mutable only so that the Atelier can
// fill the two explanation columns; the names never change. Cost: constant.
std::span<KeywordEntry> keywordTable(int table);

// Token code of entry `index` of `table`: 0x3000 + table * 0x100 + index for tables 0 to 3,
// 0xA0 + index for functions, 0x80 + index for control words. Cost: constant.
char16_t keywordCode(int table, int index);

// The entry a token code stands for, or nullptr for a code of no table. Cost: constant.
const KeywordEntry* keywordOfCode(char16_t code);
