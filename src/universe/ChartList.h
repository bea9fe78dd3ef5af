// The prepared charts of a work: "nebu/chart.txt" below the work folder, code page 932, one chart
// a line as "shown name" and "file name" separated by a TAB, "," or ";". The list offers them
// followed by three fixed lines, the second of which lets the user choose any constellation file.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct ChartEntry {
    QString shown; // the line of the list
    QString file;  // below the work folder
};

class ChartList {
public:
    static constexpr int kMaxCharts = 16;
    static constexpr int kMaxName = 63;
    // A line is read this many characters at a time; the rest of a longer line comes as a line of
    // its own.
    static constexpr int kPiece = 95;
    // The file below the work folder.
    static const QString kFile;
    // The fixed lines after the charts: a separator, "from a galaxy's constellations" and a blank.
    static const QString kSeparatorLine;
    static const QString kFromGalaxyLine;
    static const QString kBlankLine;

    // Reads the work's chart file. A missing file gives the fixed lines alone, silently; a file
    // that cannot be read, and lines cut or left out, are said once through showCheck with the
    // file's path as caption. Cost: one file read, linear in its length.
    static ChartList read(const QString& workFolder);

    // The same on the decoded text of such a file (CR LF or LF line ends). Says nothing: the
    // counters below tell what was cut. Linear.
    static ChartList parse(const QString& text);

    // The message for what was cut or left out; empty when nothing was. O(1).
    QString problems() const;

    // The list's lines: the shown names, then the three fixed lines. O(charts).
    QStringList lines() const;

    enum class Choice { Nothing, FromGalaxy, Chart };
    // What choosing line `index` of lines() does. O(1).
    Choice choice(int index) const;
    // The path of the chart on line `index`: the work folder, "/" unless it ends with one, and
    // the chart's file name. Empty for a line that is no chart. O(length).
    QString chartPath(int index, const QString& workFolder) const;

    std::vector<ChartEntry> entries;
    int chartsLeftOut = 0; // chart lines after the sixteenth
    int namesCut = 0;      // shown or file names longer than kMaxName, cut to it
    int linesWithoutFile = 0; // lines with a shown name but no file name, not offered
};
