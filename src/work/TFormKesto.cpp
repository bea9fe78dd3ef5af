#include "TFormKesto.h"

#include "KestoUniverse.h"

#include "KestoGamePad.h"
#include "KestoGeometry.h"
#include "KestoTitlePlate.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeFrame.h"
#include "anime/AnimeState.h"
#include "common/Fetch.h"
#include "common/MousePointer.h"
#include "common/ProgramFont.h"
#include "common/RunMark.h"
#include "common/RunMarkLabel.h"
#include "universe/NebuCommands.h"
#include "universe/TFormNebu.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

constexpr uint32_t kHighlightColor = 0xE0FFFF; // RGB(255, 255, 224)
const QColor kPanelDark(kRunMarkBack);
const QColor kGameIdle(0, 96, 0);
const QColor kGameOpen(255, 64, 64);
const QColor kFloating(192, 32, 32);

QRect screenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
}

} // namespace

TFormKesto::TFormKesto(KestoHost& host, int workNumber, QWidget* parent)
    : QWidget(parent ? parent : host.exhibitionArea()), host_(host),
      runner_(std::make_unique<WorkRunner>(host.workPalette(), host.workGallery(), static_cast<WorkWindowSide&>(*this),
                                           workNumber)),
      workNumber_(workNumber) {
    setWindowTitle(QStringLiteral(" 元祖_Kesto"));
    setAutoFillBackground(true);
    TimerProg.setTimerType(Qt::PreciseTimer);
    TimerKesto.setTimerType(Qt::PreciseTimer);
    connect(&TimerProg, &QTimer::timeout, this, &TFormKesto::TimerProgTimer);
    connect(&TimerKesto, &QTimer::timeout, this, &TFormKesto::TimerKestoTimer);
    runner_->onTimersChanged = [this] { syncTimers(); };
    runner_->onFrameDrawn = [this] { p_.ImageAnime->update(); };
    buildPanels();
    resize(kesto::kCreationSize);
    if (!parentWidget()) {
        const QRect screen = screenRect();
        move((screen.width() - width()) / 2 + kesto::kLeftOffset, (screen.height() - height()) / 2);
    }
    paintWindowFrame(runner_->windowColor());
    fitPicture();
    runner_->view().picture.fill(QColor(0, 0, 48));
    syncTimers();
}

TFormKesto::~TFormKesto() {
    TimerProg.stop();
    TimerKesto.stop();
    // The runner goes first: nothing it frees may reach a window side already taken apart.
    runner_.reset();
    if (host_.lastCornerPanel && isAncestorOf(host_.lastCornerPanel)) host_.lastCornerPanel = nullptr;
    // The plate and the pad live on the exhibition area, not in this window.
    delete PanelTheme.data();
    delete PanelGameCtrl.data();
}

// ---- building ----

QLabel* TFormKesto::cornerPanel(const QString& text, QColor textColour, QColor background, const QString& hint) {
    auto* panel = new QLabel(text, p_.PanelAnime);
    panel->resize(kesto::kCornerSize, kesto::kCornerSize);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 16, true));
    setPanelColour(panel, background, textColour);
    if (!hint.isEmpty()) panel->setToolTip(hint);
    panel->installEventFilter(this);
    panel->hide();
    return panel;
}

void TFormKesto::setPanelColour(QLabel* panel, QColor background, QColor text) {
    panel->setStyleSheet(QStringLiteral("background:%1;color:%2;").arg(background.name(), text.name()));
}

void TFormKesto::buildPanels() {
    p_.PanelBase = new QWidget(this);
    for (QWidget*& strip : p_.strips) {
        strip = new QWidget(p_.PanelBase);
        strip->installEventFilter(this);
    }
    p_.PanelAnime = new QLabel(QStringLiteral("準備中"), p_.PanelBase);
    p_.PanelAnime->setAlignment(Qt::AlignCenter);
    p_.PanelAnime->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 20, true));
    p_.PanelAnime->setStyleSheet(QStringLiteral("background:#c0d0b0;color:#304030;"));
    p_.PanelImg = new QWidget(p_.PanelAnime);
    p_.PanelImg->setStyleSheet(QStringLiteral("background:#001020;"));
    p_.PanelImg->setAttribute(Qt::WA_StyledBackground);
    p_.PanelImg->hide(); // "準備中" until a work is shown
    p_.ImageAnime = new QWidget(p_.PanelImg);
    p_.ImageAnime->setMouseTracking(true);
    p_.ImageAnime->setToolTip(QString::fromUtf16(kRunMarkHint));
    p_.ImageAnime->installEventFilter(this);

    p_.PanelRun = cornerPanel(QString(), Qt::black, Qt::white);
    const QSize corner(kesto::kCornerSize, kesto::kCornerSize);
    p_.ImageRun = makeRunMarkLabel(p_.PanelRun, corner, 6, 4, corner.height() - 4);
    p_.ImageRun->installEventFilter(this);
    p_.PanelClose = cornerPanel(QStringLiteral("×"), Qt::white, Qt::red);
    p_.PanelGoOut = cornerPanel(QStringLiteral("≫"), QColor(0, 128, 128), Qt::white);
    p_.PanelGoHome = cornerPanel(QStringLiteral("≪"), Qt::blue, Qt::white);
    p_.PanelRenew = cornerPanel(QStringLiteral("▲"), QColor(0, 0, 128), Qt::white, QStringLiteral("　アニメ設定の適用　"));
    p_.PanelFree = cornerPanel(QStringLiteral("宙"), Qt::yellow, kPanelDark);
    p_.PanelGame = cornerPanel(QStringLiteral("プレイ"), Qt::yellow, kPanelDark);
    p_.PanelGame->resize(kesto::kGamePanelWidth, kesto::kGamePanelHeight);
    p_.PanelGame->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 13, true));

    QWidget* container = sideContainer();
    const Qt::WindowFlags sideFlags = container == this ? Qt::Tool | Qt::FramelessWindowHint : Qt::Widget;
    PanelTheme = new KestoTitlePlate(container);
    PanelTheme->setWindowFlags(sideFlags);
    PanelTheme->setText(QString::number(workNumber_));
    PanelTheme->onChartButton = [this] { runner_->toggleChart(-1); };
    PanelTheme->onMusicButton = [this] { host_.toggleMusic(); };
    PanelTheme->hide();
    PanelGameCtrl = new KestoGamePad(container);
    PanelGameCtrl->setWindowFlags(sideFlags);
    PanelGameCtrl->onGameKey = [this](GameKey key) { runner_->gameInput().key = key; };
    PanelGameCtrl->hide();
}

QWidget* TFormKesto::sideContainer() const {
    QWidget* area = host_.exhibitionArea();
    return area ? area : const_cast<TFormKesto*>(this);
}

QRect TFormKesto::windowRectIn(const QWidget* container) const {
    if (container != this && parentWidget() == container) return geometry();
    // A free window: screen coordinates (the tool windows of this one use them as they are).
    const QPoint global = mapToGlobal(QPoint(0, 0));
    return QRect(container == this ? global : container->mapFromGlobal(global), size());
}

QSize TFormKesto::containerSize(const QWidget* container) const {
    return container == this ? screenRect().size() : container->size();
}

KestoTitlePlate* TFormKesto::titlePlate() const { return PanelTheme.data(); }

KestoGamePad* TFormKesto::gamePad() const { return PanelGameCtrl.data(); }

// Docked is having a parent: a host that names no exhibition area may still have put the window
// on its own panel.
bool TFormKesto::isFloating() const { return isWindow(); }

// ---- loading ----

bool TFormKesto::openWork(const QString& folder, const QString& fileName, uint32_t* fetchedBytes) {
    const uint32_t bytes = isHttpLocation(folder) ? runner_->loadProgramUrl(folder, fileName) : 0;
    if (fetchedBytes) *fetchedBytes = bytes;
    const bool loaded = isHttpLocation(folder) ? bytes > 0 : runner_->loadProgramFile(folder, fileName) == 0;
    if (!loaded || runner_->interpreter().statements.empty()) return false;
    opened_ = true;
    setWindowTitle(runner_->caption());
    p_.PanelImg->show();
    applyZoom();
    paintWindowFrame(runner_->animation().frameColor);
    runner_->show();
    show();
    layoutCorners();
    placeTitlePlate();
    return true;
}

// ---- size and place ----

void TFormKesto::applyZoom() {
    const std::optional<kesto::ZoomedSize> zoomed =
        kesto::applyZoom(runner_->baseSize(), runner_->baseFrameWidth(), runner_->zoomPercent());
    if (!zoomed) return;
    stripTopBottom_ = stripLeftRight_ = zoomed->frameWidth;
    // A maximised window keeps filling its area; the zoom counts again once it is restored.
    if (!maximised_) resize(zoomed->window);
    fitPicture();
}

void TFormKesto::setZoom(int percent) {
    runner_->setZoomPercent(percent);
    applyZoom();
}

void TFormKesto::centreInGallery() {
    if (!isFloating()) {
        move(kesto::centreInGallery(size(), parentWidget()->size(), true, host_.topBarHeight()));
        return;
    }
    const QWidget* gallery = host_.galleryWindow();
    const QSize against = gallery ? gallery->size() : screenRect().size();
    move(kesto::centreInGallery(size(), against, false, host_.topBarHeight()));
}

void TFormKesto::moveClearOfWorksPanel() {
    if (isFloating()) return;
    move(kesto::clearOfWorksPanel(x(), width(), parentWidget()->width(), host_.worksPanelRect()), y());
}

void TFormKesto::layoutFrame() {
    const int W = width(), H = height();
    const int tb = std::clamp(stripTopBottom_, 0, std::max(H / 2 - 1, 0));
    const int lr = std::clamp(stripLeftRight_, 0, std::max(W / 2 - 1, 0));
    p_.PanelBase->setGeometry(rect());
    p_.strips[0]->setGeometry(0, 0, W, tb);
    p_.strips[1]->setGeometry(0, H - tb, W, tb);
    p_.strips[2]->setGeometry(0, tb, lr, H - 2 * tb);
    p_.strips[3]->setGeometry(W - lr, tb, lr, H - 2 * tb);
    p_.PanelAnime->setGeometry(lr, tb, W - 2 * lr, H - 2 * tb);
    p_.PanelImg->setGeometry(p_.PanelAnime->rect());
}

void TFormKesto::fitPicture() {
    layoutFrame();
    paintStrips();
    const QRect picture = kesto::fitPicture(p_.PanelAnime->size(), runner_->zoomPercent());
    p_.ImageAnime->setGeometry(picture);
    runner_->fitPictureDisplay(picture.width(), picture.height());
    placeTitlePlate();
    layoutCorners();
    if (WorkChart* chart = runner_->chart(); chart && chart->formVisible && chart->onPicture) {
        // A chart form standing on the picture keeps to its right and bottom edges.
        chart->left = std::max(chart->left, p_.PanelImg->width() - chart->width - 2);
        chart->top = std::max(chart->top, p_.PanelImg->height() - chart->height - 2);
        runner_->palette().chartChanged(*runner_);
    }
    host_.windowResized(*this);
}

void TFormKesto::layoutCorners() {
    const kesto::CornerPlaces places = kesto::layoutCorners(p_.PanelAnime->size(), p_.PanelRun->width());
    p_.PanelRun->setGeometry(places.run);
    p_.PanelClose->setGeometry(places.close);
    p_.PanelGoOut->setGeometry(places.goOut);
    p_.PanelRenew->setGeometry(places.renew);
    p_.PanelGoHome->setGeometry(places.goHome);
    p_.PanelFree->setGeometry(places.free);
    p_.PanelGame->setGeometry(places.game);
}

void TFormKesto::showCornerPanel(QWidget* panel) {
    if (panel) {
        panel->show();
        panel->raise();
    }
    if (host_.lastCornerPanel && host_.lastCornerPanel != panel && host_.lastCornerPanel->isVisible())
        host_.lastCornerPanel->hide();
    host_.lastCornerPanel = panel;
    for (QWidget* corner : {static_cast<QWidget*>(p_.PanelRun), static_cast<QWidget*>(p_.PanelClose),
                            static_cast<QWidget*>(p_.PanelGoOut), static_cast<QWidget*>(p_.PanelGoHome),
                            static_cast<QWidget*>(p_.PanelRenew)})
        if (corner != panel) corner->hide();
}

void TFormKesto::activateWindow() {
    if (host_.isSpaceGalleryShown()) {
        host_.spaceGalleryActivate(*this);
        return;
    }
    paintWindowFrame(runner_->animation().frameColor);
    runner_->switchFrameTimer(true);
    show();
    host_.windowActivated(*this);
}

void TFormKesto::goFullSize() {
    activateWindow();
    WorkRunner::ListPlace& place = runner_->listPlace();
    place.savedZoom = runner_->zoomPercent();
    place.savedLeft = x();
    place.savedTop = y();
    runner_->setZoomPercent(100);
    host_.zoomChanged(*this);
    applyZoom();
    const QWidget* container = isFloating() ? nullptr : parentWidget();
    move(kesto::fullSizePlace(container ? container->size() : screenRect().size(), size()));
    place.smallInList = false;
    placeTitlePlate();
    runner_->setInteractionCountdown(100);
}

void TFormKesto::goListSize() {
    activateWindow();
    const WorkRunner::ListPlace place = runner_->listPlace();
    runner_->setZoomPercent(place.savedZoom);
    host_.zoomChanged(*this);
    applyZoom();
    move(place.savedLeft, place.savedTop);
    runner_->listPlace().smallInList = true;
    placeTitlePlate();
    activateWindow();
    runner_->setInteractionCountdown(100);
}

void TFormKesto::toggleFloat() {
    QWidget* area = host_.exhibitionArea();
    if (!area) return;
    if (!isFloating()) {
        const QPoint global = mapToGlobal(QPoint(0, 0));
        setParent(nullptr, Qt::Window);
        move(global);
        show();
        p_.PanelFree->setText(QStringLiteral("戻"));
        setPanelColour(p_.PanelFree, kFloating, Qt::yellow);
    } else {
        setParent(area, Qt::Widget);
        centreInGallery();
        moveClearOfWorksPanel();
        show();
        p_.PanelFree->setText(QStringLiteral("宙"));
        setPanelColour(p_.PanelFree, kPanelDark, Qt::yellow);
        // Back on the area it would stand on top of the works panel and the palette: the window
        // the user just docked becomes current, which brings those to the front again.
        activateWindow();
    }
    placeTitlePlate();
}

void TFormKesto::toggleGamePad() {
    if (PanelGameCtrl->isVisible()) {
        PanelGameCtrl->hide();
        setPanelColour(p_.PanelGame, kGameIdle, Qt::yellow);
        return;
    }
    runner_->toggleChart(-1);
    setPanelColour(p_.PanelGame, kGameOpen, Qt::yellow);
    showGamePadBeside();
}

void TFormKesto::showGamePadBeside() {
    QWidget* container = sideContainer();
    const QPoint at = kesto::gamePadPlace(windowRectIn(container), containerSize(container).width());
    PanelGameCtrl->move(at);
    PanelGameCtrl->show();
    PanelGameCtrl->raise();
    PanelGameCtrl->editGame()->setFocus();
}

// ---- title plate ----

void TFormKesto::setTitleText(const QString& text) {
    titleText_ = text;
    placeTitlePlate();
}

void TFormKesto::setTitlePlateVisible(bool visible) {
    plateEnabled_ = visible;
    PanelTheme->setVisible(visible);
}

void TFormKesto::setChartButton(int kind, bool visible) {
    PanelTheme->setChartButton(KestoTitlePlate::chartSymbol(kind), visible);
    placeTitlePlate();
}

void TFormKesto::showChartButton() {
    const WorkChart* chart = runner_->chart();
    setChartButton(chart ? chart->definition.kind - 1 : 0, chart != nullptr);
}

void TFormKesto::setPlateCharacterWidth(int pixels) {
    plateCharacterWidth_ = std::max(pixels, 1);
    placeTitlePlate();
}

void TFormKesto::setMusicButtonVisible(bool visible) {
    PanelTheme->setMusicButton(visible);
    placeTitlePlate();
}

void TFormKesto::placeTitlePlate() {
    if (!PanelTheme) return;
    const QString text = !titleText_.isEmpty() ? titleText_ : opened_ ? windowTitle() : QString::number(workNumber_);
    PanelTheme->setText(text);
    QWidget* container = sideContainer();
    const bool small = runner_->listPlace().smallInList;
    const kesto::PlatePlace place =
        kesto::titlePlatePlace(windowRectIn(container), runner_->zoomPercent(), small, int(text.size()), plateCharacterWidth_,
                               PanelTheme->buttonsWidth());
    if (place.above)
        PanelTheme->place(place.rect, place.fontSize, QColor(0, 64, 80), QColor(192, 255, 255));
    else
        PanelTheme->place(place.rect, place.fontSize, kPanelDark, QColor(208, 208, 208));
    // Below the window the plate comes and goes with it; above it the hover shows it.
    if (!place.above) PanelTheme->setVisible(plateEnabled_ && opened_ && isVisible());
    if (QWidget* player = host_.musicPlayerWindow()) {
        const QPoint global = (container == this ? place.rect.topLeft() : container->mapToGlobal(place.rect.topLeft())) +
                              (kesto::musicPlayerPlace(place.rect) - place.rect.topLeft());
        player->move(player->parentWidget() && !player->isWindow() ? player->parentWidget()->mapFromGlobal(global) : global);
    }
}

// ---- the run loop's window side ----

void TFormKesto::paintWindowFrame(uint32_t color) {
    frameColor_ = color;
    topImageHidden_ = false;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(rgbOfColor(color)));
    setPalette(colours);
    paintStrips();
}

void TFormKesto::paintStrips() {
    const std::optional<FramePattern>& pattern = runner_->animation().framePattern;
    static constexpr FrameSide sides[] = {FrameSide::Top, FrameSide::Bottom, FrameSide::Left, FrameSide::Right};
    for (size_t i = 0; i < 4; ++i) {
        const QSize size = p_.strips[i]->size();
        QImage& image = frameImages_[i];
        if (size.isEmpty()) {
            image = QImage();
            continue;
        }
        image = QImage(size, QImage::Format_RGB32);
        paintFrameStrip(image, sides[i], frameColor_, runner_->zoomPercent());
        if (pattern) paintFramePatternStrip(image, sides[i], *pattern, runner_->animation().palette);
        p_.strips[i]->update();
    }
}

void TFormKesto::hideCornerPanels() {
    showCornerPanel(nullptr);
    p_.PanelFree->hide();
}

void TFormKesto::reposition() {
    // A window of list display keeps its place in the rows.
    if (runner_->listPlace().smallInList) return;
    centreInGallery();
    moveClearOfWorksPanel();
}

void TFormKesto::hideGamePad() {
    if (PanelGameCtrl) PanelGameCtrl->hide();
}

void TFormKesto::hideGamePanel() {
    hideGamePad();
    p_.PanelGame->hide();
    setPanelColour(p_.PanelGame, kGameIdle, Qt::yellow);
}

void TFormKesto::showGamePanel() {
    p_.PanelGame->show();
    p_.PanelGame->raise();
}

bool TFormKesto::gamePadVisible() const { return PanelGameCtrl && PanelGameCtrl->isVisible(); }

void TFormKesto::showMusicPanel() { setMusicButtonVisible(true); }

bool TFormKesto::openChartForm(WorkChart& chart, const QString& folder) {
    return chartForm_.open(chart, folder, host_.homeFolder(), this, p_.PanelImg, runner_->zoomPercent());
}

AnimeWindowGeometry TFormKesto::windowGeometry() const {
    AnimeWindowGeometry g;
    const QRect screen = screenRect();
    g.left = x(), g.top = y(), g.width = width(), g.height = height();
    g.screenWidth = screen.width(), g.screenHeight = screen.height();
    g.docked = !isFloating();
    const QSize area = g.docked ? parentWidget()->size() : screen.size();
    g.areaWidth = area.width(), g.areaHeight = area.height();
    g.topPanelHeight = host_.topBarHeight();
    const QRect works = host_.worksPanelRect();
    g.worksListVisible = g.docked && !works.isEmpty();
    g.worksListRight = works.x() + works.width();
    g.baseWidth = area.width();
    g.maximised = maximised_ || isMaximized();
    return g;
}

void TFormKesto::moveWindow(int left, int top) { move(left, top); }

void TFormKesto::resizeWindow(int width, int height) {
    resize(width, height);
    fitPicture();
}

// A docked window is a child widget, which the window system cannot maximise: it takes the
// exhibition area's whole rectangle itself and remembers where it stood.
void TFormKesto::maximise() {
    if (isFloating()) {
        showMaximized();
    } else {
        if (!maximised_) normalPlace_ = geometry();
        setGeometry(parentWidget()->rect());
        raise();
    }
    maximised_ = true;
    fitPicture();
}

void TFormKesto::restoreNormal() {
    if (isFloating()) showNormal();
    else if (maximised_ && normalPlace_.isValid()) setGeometry(normalPlace_);
    maximised_ = false;
    fitPicture();
}

void TFormKesto::setFrameStrips(int topBottom, int leftRight) {
    if (topBottom >= 0) stripTopBottom_ = topBottom;
    if (leftRight >= 0) stripLeftRight_ = leftRight;
    fitPicture();
}

// ---- events ----

void TFormKesto::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPicture();
}

void TFormKesto::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    placeTitlePlate();
}

// The plate stands beside the window, not in it: it comes and goes with the window.
void TFormKesto::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) placeTitlePlate();
}

void TFormKesto::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous() && PanelTheme) PanelTheme->hide();
}

void TFormKesto::closeEvent(QCloseEvent* event) {
    runner_->close();
    if (PanelTheme) PanelTheme->hide();
    if (PanelGameCtrl) PanelGameCtrl->hide();
    event->accept();
}

void TFormKesto::paintPicture(QWidget* target) {
    QPainter painter(target);
    const AnimeView& view = runner_->view();
    if (view.stretched) painter.drawImage(target->rect(), view.picture);
    else painter.drawImage(0, 0, view.picture);
}

bool TFormKesto::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Paint) {
        if (watched == p_.ImageAnime) {
            paintPicture(p_.ImageAnime);
            return true;
        }
        for (size_t i = 0; i < 4; ++i)
            if (watched == p_.strips[i]) {
                QPainter painter(p_.strips[i]);
                if (i == 0 && topImageHidden_) painter.fillRect(p_.strips[i]->rect(), QColor(rgbOfColor(frameColor_)));
                else painter.drawImage(0, 0, frameImages_[i]);
                return true;
            }
        return QWidget::eventFilter(watched, event);
    }
    const bool strip = std::find(p_.strips.begin(), p_.strips.end(), watched) != p_.strips.end();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    if (strip) return dragFrame(event);
    if (watched == p_.ImageAnime) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseMove) {
            hoverPicture(mouse);
        } else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            runner_->gameInput().mouseDown = mouse->position().toPoint();
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
                   p_.ImageAnime->rect().contains(mouse->position().toPoint())) {
            if (!runner_->palette().isClosing(*runner_)) activateWindow();
        }
        return false;
    }
    // The corner panels take their press, and act on the release inside them (a click).
    if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) return true;
    if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            clickPanel(watched);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TFormKesto::dragFrame(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton) return false;
        raise();
        dragOrigin_ = mouse->globalPosition().toPoint();
        return true;
    case QEvent::MouseMove:
        if (dragOrigin_.x() < 0) return false;
        {
            const QPoint now = mouse->globalPosition().toPoint();
            move(pos() + (now - dragOrigin_));
            dragOrigin_ = now;
            placeTitlePlate();
        }
        return true;
    case QEvent::MouseButtonRelease:
        dragOrigin_ = QPoint(-1, -1);
        return true;
    default:
        return false;
    }
}

void TFormKesto::hoverPicture(QMouseEvent* event) {
    // A drag over the picture is game input in the picture's own pixels, as a mouse-down is;
    // games read it while their pad is open.
    if (event->buttons() & Qt::LeftButton) runner_->gameInput().mouseHeld = event->position().toPoint();
    if (PanelGameCtrl && PanelGameCtrl->isVisible()) return;
    const bool small = runner_->listPlace().smallInList;
    if (small) {
        placeTitlePlate();
        host_.windowHovered(*this);
        PanelTheme->show();
        PanelTheme->raise();
        plateCountdown_ = 30;
    }
    runner_->setInteractionCountdown(30);
    // The countdown that hides the panels again runs on the frame timer.
    runner_->switchFrameTimer(true);
    const kesto::Hover hover = kesto::hoverZone(p_.ImageAnime->size(), p_.PanelRun->size(), event->position().toPoint(),
                                                small, runner_->palette().hasNeighbours(*runner_));
    hoveredZone_ = int(hover.zone);
    runner_->setInteractionCountdown(hover.countdown);
    switch (hover.panel) {
    case kesto::CornerPanel::Run:
        showCornerPanel(p_.PanelRun);
        refreshRunPanel();
        return;
    case kesto::CornerPanel::Renew: showCornerPanel(p_.PanelRenew); return;
    case kesto::CornerPanel::Free:
        if (host_.exhibitionArea()) {
            p_.PanelFree->show();
            p_.PanelFree->raise();
        }
        return;
    default: break;
    }
    if (hover.highlight) {
        paintWindowFrame(kHighlightColor);
        topImageHidden_ = true;
        p_.strips[0]->update();
    }
    if (hover.panel == kesto::CornerPanel::GoOut) showCornerPanel(p_.PanelGoOut);
    else if (hover.panel == kesto::CornerPanel::GoHome) showCornerPanel(p_.PanelGoHome);
    else if (hover.panel == kesto::CornerPanel::Close) showCornerPanel(p_.PanelClose);
}

void TFormKesto::refreshRunPanel() {
    const bool running = runner_->running();
    p_.ImageRun->setVisible(!running);
    p_.PanelRun->setText(running ? QStringLiteral("■") : QString());
}

void TFormKesto::clickPanel(QObject* panel) {
    if (panel == p_.ImageRun || panel == p_.PanelRun) {
        runClicked(panel == p_.ImageRun);
    } else if (panel == p_.PanelRenew) {
        runner_->requestRenew();
    } else if (panel == p_.PanelClose) {
        runner_->switchFrameTimer(false);
        host_.requestClose(*this);
        runner_->setInteractionCountdown(100);
    } else if (panel == p_.PanelGoOut) {
        goFullSize();
    } else if (panel == p_.PanelGoHome) {
        goListSize();
    } else if (panel == p_.PanelFree) {
        toggleFloat();
    } else if (panel == p_.PanelGame) {
        toggleGamePad();
    }
}

void TFormKesto::runClicked(bool fromImage) {
    if (fromImage) {
        if (const std::optional<QPoint> spot = host_.topBarPointerSpot()) movePointerTo(*spot);
    }
    activateWindow();
    // A work that ran before is renewed before it starts again: the host announces it first and
    // toggles from its own timer, so the announcement is drawn before the renewal.
    if (runner_->runCount() == 1) host_.requestRunToggle(*this);
    else runner_->toggleRun();
    refreshRunPanel();
}

// ---- timers ----

void TFormKesto::syncTimers() {
    // A run started or stopped elsewhere (the palette's step, the run's end) shows on a run
    // panel still in sight, not only at the next hover.
    if (p_.PanelRun) refreshRunPanel();
    TimerKesto.setInterval(WorkRunner::kFrameTimerInterval);
    if (TimerProg.interval() != runner_->programInterval()) TimerProg.setInterval(runner_->programInterval());
    if (runner_->programTimerOn() != TimerProg.isActive()) runner_->programTimerOn() ? TimerProg.start() : TimerProg.stop();
    if (runner_->frameTimerOn() != TimerKesto.isActive()) runner_->frameTimerOn() ? TimerKesto.start() : TimerKesto.stop();
}

void TFormKesto::TimerProgTimer() { runner_->programTick(); }

void TFormKesto::TimerKestoTimer() { runner_->frameTick(); }

std::unique_ptr<AnimeKind> TFormKesto::openUniverseWindow(AnimeInfo& owner, const QString& folder, const QString& options,
                                                          int mode) {
    auto universe = std::make_unique<KestoUniverse>(p_.PanelImg, folder, options, mode, &owner);
    if (TFormNebu* nebu = universe->window()) {
        KestoHost* host = &host_; // outlives every work window and so every tree window
        if (!host->homeFolder().isEmpty()) nebu->commands().setHomeFolder(host->homeFolder());
        if (host->offersUniverseHelp())
            nebu->commands().setHelpEntry({[host](QWidget* area) { host->showUniverseHelp(area); },
                                           [host] { host->releaseUniverseHelp(); }});
    }
    return universe;
}
