#include "TFormWebX.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QSizeGrip>

namespace {

void paint(QWidget* w, QColor colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

const QString kCannotStart = QStringLiteral("メタデータのプログラムを起動できません！");

} // namespace

TFormWebX::TFormWebX(const metaInfo& meta, const MetaPageContext& context, QWidget* parent, const QString& name)
    : QFrame(parent), plan_(planMetaPage(meta, context)), windowId_(meta.windowId) {
    setObjectName(QStringLiteral("TFormWebX"));
    setWindowTitle(QStringLiteral("%1〔%2〕").arg(name, meta.text));
    const bool sizeable = windowId_ & MetaSizeable;
    if (windowId_ & MetaOnTop) {
        Qt::WindowFlags flags = Qt::Window | Qt::WindowStaysOnTopHint;
        if (!sizeable) flags |= Qt::FramelessWindowHint;
        setWindowFlags(flags);
    }
    // A child page has no frame of the system's: a raised panel with a size grip stands for it.
    setFrameStyle(sizeable ? QFrame::Panel | QFrame::Raised : QFrame::Box | QFrame::Plain);
    setLineWidth(sizeable ? 3 : 2);
    paint(this, QColor(0x40, 0x40, 0x40));
    PanelWeb = new QWidget(this);
    paint(PanelWeb, QColor(0, 0, 0x40));
    PanelBak = new QWidget(this);
    paint(PanelBak, QColor(0, 0, 0x40));
    ImageWeb = new QLabel(PanelBak);
    ImageWeb->setScaledContents(true);
    if (sizeable && !isWindow()) new QSizeGrip(this);
    resize(plan_.size);
    carryOut(meta, context);
}

TFormWebX::~TFormWebX() {
    // The browser goes before the panel that holds its widget.
    CppWebBrowser.reset();
}

void TFormWebX::showAt(QPoint place, const QWidget& area) {
    if (isWindow()) place.setX(area.mapToGlobal(QPoint(place.x(), 0)).x());
    move(place);
    if (minimised()) {
        hide();
        return;
    }
    show();
    raise();
    repaint();
}

void TFormWebX::dismiss() {
    endProcess();
    hide();
}

ChartBrowser* TFormWebX::makeBrowser() {
    if (CppWebBrowser) return CppWebBrowser.get();
    CppWebBrowser = makeChartBrowser(PanelWeb);
    if (!CppWebBrowser) return nullptr; // already said
    CppWebBrowser->widget()->setGeometry(PanelWeb->rect());
    CppWebBrowser->widget()->show();
    return CppWebBrowser.get();
}

void TFormWebX::carryOut(const metaInfo& meta, const MetaPageContext& context) {
    using A = MetaPagePlan::Action;
    const bool picture = plan_.action == A::Picture;
    PanelBak->setVisible(picture);
    PanelWeb->setVisible(!picture);
    switch (plan_.action) {
    case A::Navigate:
        if (ChartBrowser* b = makeBrowser()) b->load(QUrl(plan_.target));
        break;
    case A::WritePage: {
        // Relative addresses of an html: document resolve in the base folder.
        const QUrl base = context.basePath.startsWith(u'/') ? QUrl::fromLocalFile(context.basePath)
                                                            : QUrl(QStringLiteral("about:blank"));
        if (ChartBrowser* b = makeBrowser()) b->setPage(plan_.target, base);
        break;
    }
    case A::Picture: {
        QByteArray bytes;
        const QImage image = readFileBytes(plan_.target, bytes) ? QImage::fromData(bytes) : QImage();
        if (image.isNull()) showCheck(plan_.target, QStringLiteral("メタデータの画像を読み込めません！"), 0);
        ImageWeb->setPixmap(QPixmap::fromImage(image));
        break;
    }
    case A::StartProcess:
        process_ = startProcess(plan_.target, plan_.arguments);
        // A document rather than a program is opened by the desktop, as the system's "open" would.
        if (process_ == 0 && !(plan_.arguments.isEmpty() && openWithSystem(plan_.target)))
            showCheck(plan_.target, kCannotStart, 0);
        break;
    case A::StartDetached:
        if (startProcess(plan_.target, plan_.arguments) == 0) showCheck(plan_.target, kCannotStart, 0);
        break;
    case A::OpenWithSystem:
        if (!openWithSystem(plan_.target)) showCheck(plan_.target, kCannotStart, 0);
        break;
    case A::Refuse:
        showCheck(plan_.target, meta.text, 0);
        break;
    }
}

void TFormWebX::endProcess() {
    if (process_ == 0) return;
    ::endProcess(process_);
    process_ = 0;
}

void TFormWebX::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QRect inside = contentsRect();
    PanelWeb->setGeometry(inside);
    PanelBak->setGeometry(inside);
    // The picture keeps the height of its panel.
    ImageWeb->setGeometry(PanelBak->rect());
    if (CppWebBrowser) CppWebBrowser->widget()->setGeometry(PanelWeb->rect());
    if (auto* grip = findChild<QSizeGrip*>()) grip->move(width() - grip->width(), height() - grip->height());
}
