// Tests for keywords in source text and the conversion of a program between its standard (Latin)
// and its Japanese form. All comparisons fold ASCII letters only.
#pragma once

#include <QString>
#include <QStringView>

// Length of the keyword `standard` of table `table`, written in either form, at `pos` of `text`;
// 0 when it is not there, when '$' stands before it, or (with `needSeparator`) when it is not
// followed by ':', ',' or the end of the text. Cost: O(table size).
qsizetype keywordLengthAt(QStringView text, qsizetype pos, QStringView standard, int table, bool needSeparator);

// isKeywordAt of the language: keywordLengthAt(...) > 0.
bool isKeywordAt(QStringView text, qsizetype pos, QStringView standard, int table, bool needSeparator);

// Length of a keyword of any table that starts at `pos` and is delimited on both sides by ASCII
// characters that are not letters or digits (or the text's ends); 0 when none. *table receives
// the table number. Used for colouring. Cost: O(number of keywords).
qsizetype keywordAt(QStringView text, qsizetype pos, int* table);

// True when the text uses at least as many Japanese keywords of tables 0 to 3 as standard ones
// (also when it uses none). Cost: O(length * keywords).
bool isMostlyJapanese(QStringView text);

// The text with every keyword of tables 0 to 3 in the other form: a mostly Japanese text becomes
// standard, any other becomes Japanese. Quoted parts, '$' names, functions and control words stay.
// Cost: O(length * keywords); the result grows as needed.
QString convertForm(QStringView text);
