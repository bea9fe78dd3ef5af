// Texts of the Atelier's editor that need no widget: the new program's template, the program
// lines handed to the work from the editor's text, the line numbers, the caret status, the rows
// of the variables grid and the line a script error names.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class ItemTable;

// The seven lines of "新規作成": an animation block with the theme 無題, a 750 × 500 canvas in
// the middle and the background 24, 24, 56. Cost: constant.
QStringList newProgramLines();

// The editor's plain text as program lines: one per line, every CR, LF and line separator inside
// a line turned into a space, trailing spaces removed. Cost: linear.
QStringList editorLines(const QString& plainText);

// "0001\n0002\n…" for `count` lines (at least one number). Cost: linear.
QString lineNumberText(int count);

// The status "%02d,%03d／%03d": caret column (0-based), caret line (1-based), line count.
QString caretStatus(int column, int line, int count);

// One row of the variables grid.
struct VariableRow {
    QString count; // "%3d" use count
    QString name;  // "$%-10.10s" or "fix(%3d)"
    QString value; // "%5d" for a whole number, else "%10.4f"
    bool constant = false;
    bool operator==(const VariableRow&) const = default;
};

// Named variables in table order, then the unnamed constants. Cost: linear in the items.
std::vector<VariableRow> variableRows(const ItemTable& items);

// The program line a script error message names, or -1: the run-stop message "( n 行 )", a
// failed command " n 行 …", a read range "n 行［read］…", a missing partner "…(n )" and an unknown
// name "…\r\n nnn: name". Cost: linear in the message.
int scriptErrorLine(const QString& message);
