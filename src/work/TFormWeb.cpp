#include "TFormWeb.h"

#include "common/Fetch.h"
#include "common/PanelDrag.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>

namespace {

constexpr int kTopHeight = 33;
constexpr int kBakHeight = 123;

void paint(QWidget* w, QColor colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

TFormWeb::TFormWeb(QWidget* owner) : QWidget(owner) {
    setWindowTitle(QStringLiteral("メタチャート"));
    resize(kDesignWidth, kDesignHeight);
    paint(this, QColor(0xE0, 0xE0, 0xE0));
    PanelTop = new QLabel(this);
    PanelTop->setGeometry(0, 0, kDesignWidth, kTopHeight);
    PanelTop->setStyleSheet(QStringLiteral("color:yellow;background:#404040;"));
    PanelWeb = new QWidget(this);
    paint(PanelWeb, QColor(0, 0, 0x40)); // 0x400000 as the framework writes it
    PanelWeb->setCursor(Qt::SizeAllCursor);
    PanelBak = new QWidget(this);
    paint(PanelBak, QColor(0, 255, 0));
    ImageWeb = new QLabel(PanelBak);
    ImageWeb->setScaledContents(true);
    PanelBak->hide();
    PopupMenuWeb = new QMenu(this);
    PopupMenuWeb->addAction(QStringLiteral("最新の情報に更新"), this, &TFormWeb::reload);
    installEventFilter(this);
    PanelWeb->installEventFilter(this);
}

TFormWeb::~TFormWeb() {
    // The browser goes before the panels that hold its widget.
    CppWebBrowser.reset();
}

ChartBrowser* TFormWeb::makeBrowser() {
    if (CppWebBrowser) return CppWebBrowser.get();
    CppWebBrowser = makeChartBrowser(PanelWeb);
    if (!CppWebBrowser) return nullptr; // already said
    CppWebBrowser->onLink = [this](const QUrl& url) { return onLink && onLink(url); };
    CppWebBrowser->onMenu = [this](const QPoint& at) {
        PopupMenuWeb->popup(CppWebBrowser->widget()->mapToGlobal(at));
    };
    CppWebBrowser->widget()->setGeometry(PanelWeb->contentsRect());
    CppWebBrowser->widget()->show();
    return CppWebBrowser.get();
}

void TFormWeb::navigate(const QUrl& url) {
    if (ChartBrowser* b = makeBrowser()) b->load(url);
}

void TFormWeb::writePage(const QString& page, const QUrl& base) {
    if (ChartBrowser* b = makeBrowser()) b->setPage(page, base.isEmpty() ? QUrl(QStringLiteral("about:blank")) : base);
}

void TFormWeb::reload() {
    if (CppWebBrowser) CppWebBrowser->reload();
}

void TFormWeb::showPicture(const QString& location) {
    QByteArray bytes;
    if (location.startsWith(QLatin1String("http:"), Qt::CaseInsensitive) ||
        location.startsWith(QLatin1String("https:"), Qt::CaseInsensitive))
        fetchData(location, bytes);
    else
        readFileBytes(location, bytes);
    ImageWeb->setPixmap(QPixmap::fromImage(QImage::fromData(bytes)));
    PanelWeb->hide();
    PanelBak->show();
    PanelBak->setGeometry(rect());
    ImageWeb->setGeometry(PanelBak->rect());
}

void TFormWeb::becomeBrowserWindow() {
    PanelTop->hide();
    PanelBak->hide();
    setWindowFlags(Qt::Window);
    PanelWeb->setGeometry(rect());
    makeBrowser();
}

bool TFormWeb::showChart(const metaChartInfo& chart, const QString& workFolder, const QString& homeFolder,
                         QWidget* picturePanel) {
    PanelTop->hide();
    resize(chart.width, chart.height);
    if (chart.options & metaChartInfo::kFreeWindow) {
        QWidget* owner = parentWidget();
        const Qt::WindowFlags border =
            chart.options & metaChartInfo::kSizeable ? Qt::Window : Qt::Window | Qt::FramelessWindowHint;
        setWindowFlags(border);
        if (owner) {
            const QPoint centre = owner->mapToGlobal(owner->rect().center());
            move(centre - QPoint(width() / 2, height() / 2));
        }
    } else {
        setParent(picturePanel, Qt::Widget);
        move(0, 0);
    }
    const int border = chart.options & metaChartInfo::kSizeable ? 1 : 2;
    PanelWeb->setContentsMargins(border, border, border, border);
    carryOut(planChart(chart, workFolder, homeFolder), chart.source);
    return !minimised_;
}

void TFormWeb::carryOut(const ChartPlan& plan, const QString& source) {
    minimised_ = plan.minimised;
    switch (plan.action) {
    case ChartPlan::Action::Navigate:
        navigate(QUrl(plan.target));
        break;
    case ChartPlan::Action::WritePage:
        writePage(plan.target, QUrl(plan.baseUrl));
        break;
    case ChartPlan::Action::Picture:
        showPicture(plan.target);
        break;
    case ChartPlan::Action::StartProgram:
        // A document rather than a program is opened by the desktop, as its own "open" would.
        if (startProcess(plan.target, plan.arguments) == 0 && !(plan.arguments.isEmpty() && openWithSystem(plan.target)))
            showCheck(plan.target, QStringLiteral("メタチャートのプログラムを起動できません！"), 0);
        break;
    case ChartPlan::Action::Refuse:
        showCheck(source, plan.target, 0);
        break;
    }
    if (minimised_) hide();
}

bool TFormWeb::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == this) {
            const int top = PanelTop->isHidden() ? 0 : kTopHeight;
            const int bottom = !PanelBak->isHidden() && !PanelWeb->isHidden() ? kBakHeight : 0;
            PanelWeb->setGeometry(0, top, width(), height() - top - bottom);
            if (PanelWeb->isHidden()) PanelBak->setGeometry(rect());
            else PanelBak->setGeometry(0, height() - kBakHeight, width(), kBakHeight);
            ImageWeb->setGeometry(PanelBak->rect());
        } else if (watched == PanelWeb && CppWebBrowser) {
            CppWebBrowser->widget()->setGeometry(PanelWeb->contentsRect());
        }
        break;
    case QEvent::MouseButtonPress: {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton) break;
        dragFrom_ = mapFromGlobal(e->globalPosition().toPoint());
        raise();
        return true;
    }
    case QEvent::MouseMove: {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (dragFrom_.x() < 0 || isWindow()) break;
        const QPoint at = mapFromGlobal(e->globalPosition().toPoint());
        const DragStep step = dragStep(at.x(), at.y(), dragFrom_.x(), dragFrom_.y(), geometry());
        setGeometry(step.geometry);
        dragFrom_ = QPoint(step.previousX, step.previousY);
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragFrom_ = QPoint(-1, -1);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
