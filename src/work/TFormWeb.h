// The browser form "メタチャート": a work's meta chart (a written page, a web page or local file,
// or a picture) and the gallery's classroom page. The browser is made only when a page is to be
// shown (ChartBrowser), so a picture chart never starts the web engine. Planning is metaChartInfo's; this form
// carries a plan out: it writes or loads the page, loads the picture, or starts the program
// through the platform layer (an argument list, no shell).
#pragma once

#include "common/ChartBrowser.h"
#include "metaChartInfo.h"

#include <QPoint>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QMenu;

class TFormWeb : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 674, kDesignHeight = 578;

    // A form owned by `owner` (a child of it until showChart places it). Cost: a few widgets.
    explicit TFormWeb(QWidget* owner);
    ~TFormWeb() override;

    // `showChart`: hides the top panel, takes the chart's size (at 100 %), places itself (a free
    // window centred on its owner, else a child of `picturePanel` at its top left), takes its
    // border and carries out the chart's plan. A program chart or a refused one (its message
    // shown) leaves the form out of sight: false then. Cost: the plan's work; a picture of a work
    // from the web is fetched (blocking).
    bool showChart(const metaChartInfo& chart, const QString& workFolder, const QString& homeFolder,
                   QWidget* picturePanel);

    // The browser goes to an address. Cost: starts the load (the engine on first use).
    void navigate(const QUrl& url);
    // The browser shows a page text whose relative addresses resolve against `base`.
    void writePage(const QString& page, const QUrl& base = {});
    // "最新の情報に更新": the page is loaded again.
    void reload();
    // The picture panel fills the form with the picture (an empty one when it cannot be read).
    void showPicture(const QString& location);
    // The classroom: no top or lower panel, a sizeable window with its system menu.
    void becomeBrowserWindow();

    // Whether the plan's program was started, for the caller's record.
    bool minimised() const { return minimised_; }
    // The browser, made on first use; nullptr before (or when the browser module is missing).
    ChartBrowser* browser() const { return CppWebBrowser.get(); }
    QLabel* picture() const { return ImageWeb; }
    QWidget* panelWeb() const { return PanelWeb; }
    QMenu* popupMenu() const { return PopupMenuWeb; }
    // A link the browser is asked to follow; true when the handler took it (the browser stays).
    std::function<bool(const QUrl&)> onLink;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ChartBrowser* makeBrowser();
    void carryOut(const ChartPlan& plan, const QString& source);

    QLabel* PanelTop = nullptr;
    QWidget* PanelWeb = nullptr;
    std::unique_ptr<ChartBrowser> CppWebBrowser;
    QWidget* PanelBak = nullptr;
    QLabel* ImageWeb = nullptr;
    QMenu* PopupMenuWeb = nullptr;
    QPoint dragFrom_{-1, -1};
    bool minimised_ = false;
};
