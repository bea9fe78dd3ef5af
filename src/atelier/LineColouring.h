// The colours of one program line in the Atelier's editor: strings and comment lines, `$`
// variables, colons and keywords of the six tables (found with the script library's keyword
// test). The editor's highlighter asks for the spans of each line it recolours.
#pragma once

#include <QStringView>

#include <vector>

struct ColourSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    int pair = 0;      // colour table pair (ColourPair; keywords 5 + table)
    bool bold = false;
    bool operator==(const ColourSpan&) const = default;
};

// Spans of `line` (one line, without its line end) in order; characters outside every span keep
// the normal text colour. A quote starts a string up to the same quote or the line's end; a
// colon at the line's start starts a comment line; `$` starts a variable name up to a character
// of " =+-*/()[]<>:,;^.%"; any other colon is marked; a keyword at a position where
// keywordAt finds one is coloured by its table. Cost: O(length × keywords).
std::vector<ColourSpan> lineSpans(QStringView line);
