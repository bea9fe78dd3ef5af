// The browser module: ChartBrowser on QWebEngineView. Loaded by makeChartBrowser on first use.
#include "ChartBrowser.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

// Qt's own setter of the context every context of the program may share with (exported by Qt
// GUI; the attribute Qt::AA_ShareOpenGLContexts makes the same context while the application
// starts, which would cost every start of the program a context the browser may never need).
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace {

// The web engine draws in contexts that share with the global one: made here, the first time a
// browser is made, when the program did not make it at its start. As at the start, it is set even
// when the platform has no drawing context to give (the engine then draws in software). It lives
// as long as the program.
void ensureShareContext() {
    if (QOpenGLContext::globalShareContext()) return;
    auto* context = new QOpenGLContext(qApp);
    context->create();
    qt_gl_set_global_share_context(context);
}

// A page that hands the links it is asked to follow to the browser's handler first.
class LinkPage : public QWebEnginePage {
public:
    LinkPage(ChartBrowser& browser, QObject* parent) : QWebEnginePage(parent), browser_(browser) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (type == NavigationTypeLinkClicked && browser_.onLink && browser_.onLink(url)) return false;
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }

private:
    ChartBrowser& browser_;
};

class WebEngineBrowser : public ChartBrowser {
public:
    explicit WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {
        view_->setPage(new LinkPage(*this, view_));
        view_->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(view_, &QWidget::customContextMenuRequested, view_, [this](const QPoint& at) {
            if (onMenu) onMenu(at);
        });
        QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool ok) {
            if (onLoaded) onLoaded(ok);
        });
    }
    ~WebEngineBrowser() override { delete view_.data(); }

    QWidget* widget() override { return view_; }
    void load(const QUrl& url) override { view_->load(url); }
    void setPage(const QString& page, const QUrl& base) override { view_->setHtml(page, base); }
    void reload() override { view_->reload(); }
    void runScript(const QString& script, std::function<void(const QVariant&)> done) override {
        view_->page()->runJavaScript(script, [done = std::move(done)](const QVariant& v) {
            if (done) done(v);
        });
    }

private:
    QPointer<QWebEngineView> view_;
};

} // namespace

extern "C" Q_DECL_EXPORT ChartBrowser* vimoraMakeChartBrowser(QWidget* parent) {
    // The engine's own sandbox cannot start for the superuser; the browser then runs without it.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    ensureShareContext();
    return new WebEngineBrowser(parent);
}
