// The embedded web browser of the browser form, as the form uses it. The web engine is large and
// slow to start, so it lives in a module of its own (WebEngineBrowser) that the form loads the
// first time a page is to be shown; programs that never show a page never start it.
#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>
#include <memory>

class QWidget;

class ChartBrowser {
public:
    virtual ~ChartBrowser() = default;
    // The browser's widget (a child of the parent it was made with).
    virtual QWidget* widget() = 0;
    // Goes to an address. Cost: starts the load.
    virtual void load(const QUrl& url) = 0;
    // Shows a page text; relative addresses resolve against `base`.
    virtual void setPage(const QString& page, const QUrl& base) = 0;
    virtual void reload() = 0;
    // Runs a script in the page and hands its result to `done` later.
    virtual void runScript(const QString& script, std::function<void(const QVariant&)> done) = 0;

    // A link the user follows: true when the handler took it (the browser stays where it is).
    std::function<bool(const QUrl&)> onLink;
    // A load ended (true when it succeeded).
    std::function<void(bool)> onLoaded;
    // The context menu was asked for at a point of the widget.
    std::function<void(const QPoint&)> onMenu;
};

// Makes a browser in `parent` from the browser module, loaded on the first call. nullptr when the
// module cannot be loaded, after saying so (with the loader's error text) through showCheck.
// Cost: the first call loads the web engine.
std::unique_ptr<ChartBrowser> makeChartBrowser(QWidget* parent);
