// The page window of a node's metadata: a browser (web addresses, local files, written text,
// HTML and table documents), a stretched picture, or a program it starts and keeps out of sight.
// What it does is planMetaPage's; this window carries the plan out. The web engine is loaded the
// first time a page needs the browser (ChartBrowser), so pictures and programs never start it.
#pragma once

#include "MetaPages.h"

#include "common/ChartBrowser.h"

#include <QFrame>
#include <memory>

class QLabel;

class TFormWebX : public QFrame {
    Q_OBJECT
public:
    // The page of valid `meta` for the node `name`: a child of `parent`, or (window bit 1) a
    // window of its own over it that stays on top. Programs are started and documents written
    // here; the caller places and shows the page, and hides it when minimised(). A refused or
    // failed start is reported through showCheck. Cost: the plan's work; the first browser
    // page loads the web engine.
    TFormWebX(const metaInfo& meta, const MetaPageContext& context, QWidget* parent, const QString& name);
    // Lets a started program run on (closeMetaPage ends it first through endProcess).
    ~TFormWebX() override;

    // Ends the program that the page started and keeps, if any. O(1) plus the program's end.
    void endProcess();
    // Moves the page to `place`, given in the coordinates of `area` (the grid it opened over),
    // and shows it on top, or keeps it hidden when minimised(). O(1) plus a paint.
    void showAt(QPoint place, const QWidget& area);
    // Ends the kept program and hides the page; the caller frees it. O(1) plus the program's end.
    void dismiss();

    const MetaPagePlan& plan() const { return plan_; }
    uint32_t windowId() const { return windowId_; }
    // The page stays out of sight (an external browser or a program). O(1).
    bool minimised() const { return plan_.minimised; }
    // The program the page keeps (0 for none). O(1).
    int process() const { return process_; }
    // The browser (nullptr for pictures, programs, or without the browser module) and the picture.
    ChartBrowser* browser() const { return CppWebBrowser.get(); }
    QLabel* picture() const { return ImageWeb; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void carryOut(const metaInfo& meta, const MetaPageContext& context);
    ChartBrowser* makeBrowser();

    MetaPagePlan plan_;
    uint32_t windowId_ = 0;
    int process_ = 0;
    QWidget* PanelWeb = nullptr;
    std::unique_ptr<ChartBrowser> CppWebBrowser;
    QWidget* PanelBak = nullptr;
    QLabel* ImageWeb = nullptr;
};
