// A work's meta chart definition, "W,H,OPTIONS[,COUNT],KIND:DATA", and what showing it means: the
// page text a browser shows, the address it goes to, the picture, or the program it starts. The
// parse is the one star metadata uses (metaInfo); this adds the chart's reading of the third
// field (options) and the pages. Headless: TFormWeb carries out a ChartPlan.
#pragma once

#include "universe/metaInfo.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class metaChartInfo {
public:
    // Option bits.
    static constexpr int kSizeable = 1;       // sizeable border
    static constexpr int kFreeWindow = 2;     // a window of its own, not placed on the picture
    static constexpr int kExternalBrowser = 4; // an http: chart opens in the system's browser
    static constexpr int kBrowserProcess = 8;  // ... started as a process of its own

    // Parses the definition (trailing line ends cut; any inside become spaces). Cost: linear.
    explicit metaChartInfo(const QString& definitionText);

    // The part after the five-character kind prefix.
    QString data() const { return source.mid(5); }
    bool valid() const { return errors == 0; }

    QString definition;
    int32_t width = 0;
    int32_t height = 0;
    int32_t options = 0;
    int32_t kind = 0; // 1 http: 2 file: 3 text: 4 html: 5 imag: 6 tbl0: 7 exec:; 0 with errors
    int32_t count = 1;
    uint32_t errors = 0; // MetaError bits
    QString source;      // from the kind prefix on
    QString program;     // the external browser of http: charts
};

// The page of a text: chart: yellow on dark blue, after an ideographic space. Cost: linear.
QString chartTextPage(const QString& data);
// The page of a tbl0: chart: "COLUMNS,ROWS,COLOUR,CELL,...,COLOUR,CELL,..." tables one after the
// other; empty without a comma. Any length (no buffer limit). Cost: linear.
QString chartTablePage(const QString& data);
// The first src='VALUE' (any case, spaces and several '=' allowed) whose value has no colon gets
// `folder` in front. Only that first occurrence changes. Cost: linear.
QString withAbsoluteSource(const QString& page, const QString& folder);

// What showing a chart does.
struct ChartPlan {
    enum class Action { Navigate, WritePage, Picture, StartProgram, Refuse };
    Action action = Action::WritePage;
    QString target;        // address, page text, picture path or program
    QStringList arguments; // of the program
    QString baseUrl;       // a written page resolves its relative addresses against it
    bool minimised = false; // the form stays out of sight (programs)
};

// The plan for a valid chart of a work in `workFolder` (a folder or an http address ending in
// "/"); `homeFolder` is the gallery's, where exec: programs are found. A work fetched from the web
// never starts a program: its exec: and program-starting http: charts are refused (the plan's
// target is then the message). Cost: linear in the definition.
ChartPlan planChart(const metaChartInfo& chart, const QString& workFolder, const QString& homeFolder);

// The message of a refused chart.
QString chartRefusedText();
