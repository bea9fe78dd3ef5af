// What a node's metadata page shows, without widgets: the generated documents (text, tables, the
// page that cannot join a tour), the plan a page window carries out for each kind, and where the
// page is placed over its grid. TFormWebX carries a plan out.
#pragma once

#include "metaInfo.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

// Display window identifier bits of metaInfo::windowId.
enum MetaWindowBit : uint32_t {
    MetaOnTop = 1,           // a window of its own that stays on top; else a child of the grid
    MetaSizeable = 2,        // a sizeable frame; else no frame and a border of 2
    MetaExternalBrowser = 4, // http: opens in the system's browser
    MetaOwnProcess = 8,      // with bit 4 a process of the page's own; lets programs join a tour
};

// The document of a text: page, the text in yellow on dark blue. Cost: linear.
QString metaTextPage(const QString& data);
// The document of a tbl0: page: "COLUMNS,ROWS,COLOUR,CELL...,COLOUR,CELL..." tables one after the
// other, empty without a comma; a column or row count below 1 ends it. Cost: linear.
QString metaTablePage(const QString& data);
// The document a page shows instead of its content when it cannot join a running tour.
QString metaNotInTourPage();
// A text placed into a generated document: "<" and ">" become references, and "&" too unless it
// starts a character reference ("&nbsp;", "&#9733;"), so no text can open markup that ends the
// page; any other text stays exactly as written. Cost: linear.
QString pageText(const QString& text);

// What the page of a node is opened with.
struct MetaPageContext {
    QString basePath;    // file: and imag: names without a colon start here (pageBasePath)
    QString currentPath; // exec: programs without a colon start here (the tree window's current path)
    bool tour = false;   // a tour is running
    bool fetched = false; // the constellation data came over http: it may start no program
};

// What a page window does for one metadata.
struct MetaPagePlan {
    enum class Action {
        Navigate,       // the browser goes to `target`
        WritePage,      // the browser shows the document `target`
        Picture,        // the picture file `target`, stretched to the page
        StartProcess,   // `target` started with `arguments` (no shell); the page keeps it and ends it on close
        StartDetached,  // the same, but the page lets it run on
        OpenWithSystem, // `target` opened by the desktop's handler
        Refuse,         // nothing starts; `target` is the message
    };
    Action action = Action::WritePage;
    QString target;
    QStringList arguments;
    QSize size;             // 300 x 150 for a page that cannot join the tour, else W x H
    bool minimised = false; // the page stays out of sight (programs, external browser)
    bool joinsTour = true;
};

// The plan for valid metadata (callers check metaInfo::errors first). Cost: linear in the text.
MetaPagePlan planMetaPage(const metaInfo& meta, const MetaPageContext& context);
// The message of a program page of constellation data fetched over http.
QString metaRefusedText();

// Where a page goes. `at` is the point it opens at in the grid; `offset` is added to its x
// (96 in the tree window, 32 in the database view), `margin` kept from the grid's right and bottom
// edges (20, 10), `screenMargin` from the screen's bottom (480, 40). Pages with bit 1 or 2 are
// placed by the window's top (`windowTop` + `gridPanelTop`) against the screen's height; others
// inside the grid. Never negative. O(1).
struct MetaPlacement {
    int offset = 96;
    int margin = 20;
    int screenMargin = 480;
};
QPoint metaPagePlace(QPoint at, QSize page, QSize grid, uint32_t windowId, int windowTop, int gridPanelTop,
                     int screenHeight, const MetaPlacement& rule);

// True when a pointer at x (grid pixels without the horizontal offset) touches the mark band of
// a name ending at `drawRight`: strictly between 16 pixels before and 8 after. O(1).
inline bool inMarkBand(int x, int drawRight) { return x > drawRight - 16 && x < drawRight + 8; }
