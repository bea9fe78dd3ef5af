// The Atelier's command reference: the keyword descriptions read from `help_cmd.txt` into the
// script library's keyword tables, the six reference categories, the grid's column widths and the
// lines of one description.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// One category row of the reference (`sgMode`) and the keyword table it lists.
struct ReferenceCategory {
    QString caption;
    int table = 0;
    // Header texts of the columns; a category with two columns has an empty third header.
    std::array<QString, 3> headers;
    int columnCount() const { return headers[2].isEmpty() ? 2 : 3; }
};

// The six categories in row order (setting commands, attributes, functions, control statements,
// character commands, canvas commands). Cost: constant.
const std::vector<ReferenceCategory>& referenceCategories();
// The category that the Atelier shows when it opens ("ヴィモラコマンド").
constexpr int kFirstCategory = 4;

// Clears every description of every keyword table and sets each entry's line count to 1.
// Cost: linear in the keywords.
void clearDescriptions();

// Applies the lines of `help_cmd.txt`: each line of 2 or more characters is a table number
// (0 to 5; other numbers and lines without a number are ignored), a separator and the entry
// text; every entry of that table whose standard keyword starts the text (case-insensitively)
// and is followed by the end, a space, "(", ",", ":" or "=" gets the rest as its description
// (a following "," or space skipped) and a line count of 1 + the number of "|" in it. Returns
// the number of descriptions set. Cost: lines × keywords of their table.
int applyDescriptionLines(const QStringList& lines);

// Clears the descriptions and reads `path` (code page 932). False when the file cannot be read
// (every description then stays empty). Cost: the file's size.
bool readDescriptionFile(const QString& path);

// One drawn line of a description: the text and whether it stands right-aligned (the line began
// with the letter "r", which is not drawn).
struct DescriptionLine {
    QString text;
    bool rightAligned = false;
    bool operator==(const DescriptionLine&) const = default;
};

// The description split at "|". An empty description gives no line. Cost: linear.
std::vector<DescriptionLine> descriptionLines(const QString& description);

// Column widths of the reference grid for category `row` at grid width `gridWidth`; the last
// column leaves room for a scroll bar when `needsScrollBar`. Cost: constant.
std::array<int, 3> referenceColumnWidths(int row, int gridWidth, bool needsScrollBar);

// Height of a keyword row: its line count × 20 when expanded, else 20; never less than 20.
int referenceRowHeight(int lineCount, bool expanded);
