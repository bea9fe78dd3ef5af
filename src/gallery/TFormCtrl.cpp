#include "TFormCtrl.h"

#include "common/Choosers.h"

#include "GalleryWidgets.h"
#include "TFormMPlayer.h"
#include "PaletteLayout.h"
#include "UpDownControl.h"
#include "common/PanelDrag.h"
#include "common/ProgramFont.h"
#include "common/RunMarkLabel.h"
#include "work/KestoHost.h"
#include "work/KestoTitlePlate.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>

using namespace GalleryWidgets;

namespace {

constexpr uint32_t kPaletteColour = 0x304000;
constexpr uint32_t kValueColour = 0xD0D0D0;
constexpr uint32_t kLabelColour = 0xD0D090;
constexpr int kTopHeight = 22;
constexpr int kMidTop = 22;
constexpr int kMidHeight = 30;
constexpr int kBtmTop = 52;
constexpr int kBtmHeight = 28;
constexpr int kBorder = 1;
constexpr int kGrabStrip = 6;
constexpr int kCameraInfoWidth = 220; // the camera status "カメラ P(…) ｖ(…)" in full

QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(0, 0);
}

QFont panelFont(int size, bool bold = false) { return programFont(QStringLiteral("ＭＳ Ｐゴシック"), size, bold); }

} // namespace

TFormCtrl::TFormCtrl(PaletteGallery& gallery, GalleryState& state, KestoHost& host, QWidget* area,
                     PaletteLog::Clock clock)
    : QWidget(area), gallery_(gallery), host_(host),
      widgetsBuilt_(*this), model_(state, static_cast<PaletteStage&>(*this), screenSize(), std::move(clock)) {
    setWindowTitle(QStringLiteral("ヴィモラ パレット"));
    setObjectName(QStringLiteral("TFormCtrl"));
    setCursor(Qt::SizeAllCursor);
    // The log starts closed, as its "▼" says: grown, the palette would cover the top of the work
    // window (kept 92 pixels down for an 82-pixel palette) and with it the float panel "宙".
    setGeometry(PaletteLayout::leftOnArea(area->width(), PaletteLayout::kFullWidth), 0, PaletteLayout::kFullWidth,
                PaletteLayout::kNormalHeight);
    TimerCtrl.setInterval(PaletteModel::kTimerInterval);
    connect(&TimerCtrl, &QTimer::timeout, this, &TFormCtrl::TimerCtrlTimer);
    model_.timer().listen([this](bool on) { on ? TimerCtrl.start() : TimerCtrl.stop(); });
    player_ = new TFormMPlayer(area);
    player_->hide();
    model_.music.setPlayer(player_);
    player_->onToggle = [this] { toggleMusic(); };
    player_->onEnded = [this] {
        // A real end with plays left asks the next step to play the file again.
        if (model_.music.ended()) {
            model_.musicStep = 1;
            wakeTimer();
        }
    };
    raise();
}

TFormCtrl::~TFormCtrl() {
    TimerCtrl.stop();
    // The player goes with the palette, whose record it tells of its ends.
    model_.music.setPlayer(nullptr);
    delete player_.data();
    // Every window stops before any is destroyed: a frame of one must not reach a freed neighbour.
    for (PaletteWindow* w = model_.firstWindow(); w; w = model_.nextWindow(w)) w->close();
}

// ---- music ----

void TFormCtrl::setMusic(int count, const QString& fileName, const QString& folder) {
    model_.music.set(count, fileName, folder);
    player_->show();
    player_->raise();
}

void TFormCtrl::startMusic() {
    model_.musicRequest = 1;
    wakeTimer();
}

void TFormCtrl::stopMusic() {
    model_.cancelMusic();
    model_.music.stop();
}

void TFormCtrl::resetMusic() {
    model_.cancelMusic();
    model_.music.reset();
}

TFormMPlayer* TFormCtrl::musicPlayer() const { return player_.data(); }

void TFormCtrl::startMusicPlayer() {
    if (WorkRunner* runner = currentRunner()) model_.music.start(runner->interpreter().programFolder);
}

void TFormCtrl::closeAllWindows() {
    model_.stopTimer();
    TimerCtrl.stop();
    for (PaletteWindow* w = model_.firstWindow(); w; w = model_.nextWindow(w)) w->close();
}

void TFormCtrl::build() {
    // Runs before the model is made: its first log lines need MemoLog.
    paintBackground(this, kPaletteColour);
    PanelTop = makeLabel(this, QStringLiteral("アート 案内"), {}, 0xF0FFA0, panelFont(13, true));
    PanelTop->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PanelTop->installEventFilter(this);
    PanelTopLeft = new QWidget(this);
    makeLabel(PanelTopLeft, QStringLiteral("Anime ms"), QRect(8, 3, 80, 16), kLabelColour, panelFont(12));
    makeLabel(PanelTopLeft, QStringLiteral("Canvas ％"), QRect(96, 3, 80, 16), kLabelColour, panelFont(12));
    PanelCtrlSize = makeButton(this, QStringLiteral("≫"), QRect(0, 2, 22, 18), 0xF0FFA0,
                               QStringLiteral(" Art案内パネルの簡易版・統合版の切り替えをします "));
    pCameraInfo = new QWidget(this);
    pCameraInfo->installEventFilter(this);
    labelCamera = makeLabel(pCameraInfo, QStringLiteral("カメラ"), QRect(4, 3, kCameraInfoWidth - 6, 16), kLabelColour,
                            panelFont(11));
    labelCamera->installEventFilter(this);

    PanelMidLeft = new QWidget(this);
    pTimeWait = makeLabel(PanelMidLeft, QStringLiteral("100"), QRect(6, 4, 44, 22), kValueColour, panelFont(14, true));
    paintBackground(pTimeWait, kRunPanelColour);
    pTimeWait->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    UpDownWait = new UpDownControl(1, 10000, 10, 100, PanelMidLeft);
    UpDownWait->setGeometry(52, 4, 16, 22);
    PanelCanvasZoom = makeLabel(PanelMidLeft, QStringLiteral("100"), QRect(94, 4, 44, 22), kValueColour, panelFont(14, true));
    paintBackground(PanelCanvasZoom, kRunPanelColour);
    PanelCanvasZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    UpDownCanvas = new UpDownControl(10, 1000, 2, 100, PanelMidLeft);
    UpDownCanvas->setGeometry(140, 4, 16, 22);
    PanelDelete = makeButton(PanelMidLeft, QStringLiteral("×"), QRect(200, 4, 30, 22), 0xD0D0FF,
                             QStringLiteral("　キャンバスを展示から外す　"));
    UpDownWait->onChanged = [this](int ms) { setWaitPosition(ms); };
    UpDownCanvas->onChanged = [this](int percent) { setCanvasPosition(percent); };
    connect(PanelDelete, &QPushButton::clicked, this, &TFormCtrl::PanelDeleteClick);

    PanelMidMid = new QWidget(this);
    CtrlPanelTheme = makeLabel(PanelMidMid, QString(), {}, 0xA0FFF0, panelFont(14, true));
    PanelCtrlRun = makeButton(PanelMidMid, QString(), {}, 0, QString(), kRunPanelColour);
    PanelCtrlRun->setObjectName(QStringLiteral("PanelCtrlRun"));
    ImageCtrlRun = makeRunMarkLabel(PanelCtrlRun, QSize(30, 22), 7, 4, 18);
    ImageCtrlRun->setObjectName(QStringLiteral("ImageCtrlRun"));
    ImageCtrlRun->setAttribute(Qt::WA_TransparentForMouseEvents);
    PanelInit = makeButton(PanelMidMid, QStringLiteral("▲"), {}, 0xD0D0D0, QStringLiteral("　キャンバスの更新　"));
    PanelGoOut = makeButton(PanelMidMid, QStringLiteral("≫"), {}, 0xD0D0D0, QStringLiteral("　右下隅に等倍表示　"));
    PanelGoOut->hide(); // list display only
    connect(PanelCtrlRun, &QPushButton::clicked, this, &TFormCtrl::runClick);
    connect(PanelInit, &QPushButton::clicked, this, &TFormCtrl::PanelInitClick);
    connect(PanelGoOut, &QPushButton::clicked, this, &TFormCtrl::PanelGoOutClick);

    PanelCamera = new QWidget(this);
    PanelCamera->resize(PaletteLayout::kCameraWidth, kMidHeight);
    PanelStretch = makeButton(PanelCamera, QStringLiteral("Z"), QRect(2, 4, 20, 22), 0xD0D0D0,
                              QStringLiteral("　カメラズームのON／OFF "));
    updownZoom = new UpDownControl(-1000, 1000, 1, 0, PanelCamera);
    updownZoom->setGeometry(24, 4, 16, 22);
    updownZoom->setToolTip(QStringLiteral("　カメラズームのアップダウン "));
    bbtnCameraLeft = makeButton(PanelCamera, QStringLiteral("←"), QRect(46, 4, 30, 22), 0xD0D0D0,
                                QStringLiteral("　カメラポイントの左移動 "));
    UpDownCamera = new UpDownControl(-1000, 1000, 1, 0, PanelCamera);
    UpDownCamera->setGeometry(80, 4, 16, 22);
    UpDownCamera->setToolTip(QStringLiteral("　カメラポイントの上下移動"));
    bbtnCameraRight = makeButton(PanelCamera, QStringLiteral("→"), QRect(102, 4, 30, 22), 0xD0D0D0,
                                 QStringLiteral("　カメラポイントの右移動 "));
    connect(PanelStretch, &QPushButton::clicked, this, &TFormCtrl::PanelStretchClick);
    connect(bbtnCameraLeft, &QPushButton::clicked, this, [this] { cameraTurn(1); });
    connect(bbtnCameraRight, &QPushButton::clicked, this, [this] { cameraTurn(-1); });
    // The height and zoom values are the camera's y and z, as the Camera command sets them.
    UpDownCamera->onChanged = [this](int value) {
        if (WorkRunner* r = currentRunner()) {
            r->raiseCamera(value);
            focusKeyWhenStretched();
        }
    };
    updownZoom->onChanged = [this](int value) {
        if (WorkRunner* r = currentRunner()) {
            r->setCameraDepth(value);
            focusKeyWhenStretched();
        }
    };
    connect(PanelCtrlSize, &QPushButton::clicked, this, &TFormCtrl::PanelCtrlSizeClick);

    PanelBtm = new QWidget(this);
    PanelBtmLeft = new QWidget(PanelBtm);
    makeLabel(PanelBtmLeft, QStringLiteral("acmd "), QRect(4, 5, 40, 18), kLabelColour, panelFont(12));
    PanelAcmdTime = makeLabel(PanelBtmLeft, QStringLiteral("∞ "), QRect(42, 3, 44, 22), kValueColour, panelFont(13, true));
    PanelAcmdTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    makeLabel(PanelBtmLeft, QStringLiteral("ms"), QRect(88, 5, 20, 18), kLabelColour, panelFont(12));
    CtrlEditCmd = new QLineEdit(QStringLiteral(" anime command"), PanelBtm);
    CtrlEditCmd->setObjectName(QStringLiteral("CtrlEditCmd"));
    CtrlEditCmd->setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 13));
    CtrlEditCmd->setStyleSheet(QStringLiteral("QLineEdit{background:%1;color:%2;border:1px solid #406040;}")
                                   .arg(cssColour(0x201000), cssColour(0xF0F0F0)));
    connect(CtrlEditCmd, &QLineEdit::returnPressed, this, [this] { runTypedCommand(CtrlEditCmd->text()); });
    EditKey = new QLineEdit(PanelBtm);
    EditKey->setObjectName(QStringLiteral("EditKey"));
    PanelLog = makeButton(PanelBtm, QStringLiteral("▼"), {}, 0xD0D0D0, QStringLiteral("　パネル縦拡張（ログの表示） "));
    connect(PanelLog, &QPushButton::clicked, this, &TFormCtrl::PanelLogClick);

    MemoLog = new QPlainTextEdit(this);
    MemoLog->setObjectName(QStringLiteral("MemoLog"));
    MemoLog->setReadOnly(true);
    MemoLog->setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 15));
    MemoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoLog->setStyleSheet(QStringLiteral("QPlainTextEdit{background:%1;color:%2;}").arg(cssColour(0xF8FFF0), cssColour(0x202020)));
    MemoLog->viewport()->installEventFilter(this);
    MemoLog->appendPlainText(QStringLiteral("ギャラリーの記録"));
    setGeometry(0, 0, PaletteLayout::kFullWidth, PaletteLayout::kNormalHeight);
}

void TFormCtrl::layoutPalette() {
    const int w = width() - 2 * kBorder;
    const bool full = !narrow();
    const int midLeft = full ? PaletteLayout::kMidLeftWidth : 0;
    const int camera = PanelCamera->width();
    PanelTop->setGeometry(kBorder, kBorder, w, kTopHeight);
    // The caption ends just left of the size button in the middle.
    PanelTop->setContentsMargins(0, 0, w - width() / 2 + 2, 0);
    PanelTopLeft->setGeometry(kBorder, kBorder, PaletteLayout::kMidLeftWidth, kTopHeight);
    pCameraInfo->setGeometry(kBorder + w - kCameraInfoWidth, kBorder, kCameraInfoWidth, kTopHeight);
    PanelCtrlSize->move(width() / 2 + 3, kBorder + 2);
    PanelCtrlSize->raise();
    PanelMidLeft->setGeometry(kBorder, kMidTop, PaletteLayout::kMidLeftWidth, kMidHeight);
    PanelCamera->setGeometry(kBorder + w - camera, kMidTop, camera, kMidHeight);
    const int midWidth = w - midLeft - camera;
    PanelMidMid->setGeometry(kBorder + midLeft, kMidTop, midWidth, kMidHeight);
    CtrlPanelTheme->setGeometry(6, 4, std::max(0, midWidth - 100), 22);
    PanelCtrlRun->setGeometry(midWidth - 92, 4, 30, 22);
    PanelInit->setGeometry(midWidth - 58, 4, 24, 22);
    PanelGoOut->setGeometry(midWidth - 30, 4, 26, 22);
    PanelBtm->setGeometry(kBorder, kBtmTop, w, kBtmHeight);
    PanelBtmLeft->setGeometry(0, 0, 110, kBtmHeight);
    CtrlEditCmd->setGeometry(112, 3, std::max(40, w - 112 - 42), 22);
    EditKey->setGeometry(w - 40, 3, 10, 22);
    PanelLog->setGeometry(w - 26, 3, 22, 22);
    // A strip of the palette stays free right of and below the log: it is where the palette is
    // grabbed to be sized.
    MemoLog->setGeometry(kBorder, PaletteLayout::kNormalHeight, w - kGrabStrip,
                         std::max(0, height() - PaletteLayout::kNormalHeight - kGrabStrip));
}

// ---- displays ----

TFormKesto& TFormCtrl::currentKesto() const { return static_cast<WorkWindowLink*>(model_.currentWindow())->kesto(); }

TFormKesto& TFormCtrl::createWindow(TFormKesto* after) {
    WorkWindowLink* before = after ? linkOf(*after) : nullptr;
    if (!before && model_.countWindows() > 0) {
        PaletteWindow* last = model_.firstWindow();
        while (PaletteWindow* next = model_.nextWindow(last)) last = next;
        before = static_cast<WorkWindowLink*>(last);
    }
    const int number = before ? before->kesto().runner().workNumber() + 1 : 0;
    auto window = std::make_unique<TFormKesto>(host_, number, parentWidget());
    window->hide();
    TFormKesto& created = *window;
    model_.addWindow(std::make_unique<WorkWindowLink>(std::move(window)), before);
    return created;
}

void TFormCtrl::showAllWindows(bool on) {
    for (PaletteWindow* w = model_.firstWindow(); w; w = model_.nextWindow(w)) {
        TFormKesto& window = static_cast<WorkWindowLink*>(w)->kesto();
        // A hidden window takes its plate with it; a shown one places it again.
        window.setVisible(on);
    }
}

void TFormCtrl::showOnlyPlate(TFormKesto& window) {
    for (PaletteWindow* w = model_.firstWindow(); w; w = model_.nextWindow(w)) {
        KestoTitlePlate* plate = static_cast<WorkWindowLink*>(w)->kesto().titlePlate();
        if (!plate) continue;
        const bool only = &static_cast<WorkWindowLink*>(w)->kesto() == &window;
        plate->setVisible(only);
        if (only) plate->raise();
    }
}

WorkRunner* TFormCtrl::currentRunner() const {
    auto* link = static_cast<WorkWindowLink*>(model_.currentWindow());
    return link ? &link->runner() : nullptr;
}

WorkWindowLink* TFormCtrl::linkOf(const WorkRunner& runner) const {
    return static_cast<WorkWindowLink*>(
        model_.findWindow([&runner](const PaletteWindow& w) { return &static_cast<const WorkWindowLink&>(w).runner() == &runner; }));
}

WorkWindowLink* TFormCtrl::linkOf(const TFormKesto& window) const {
    return static_cast<WorkWindowLink*>(
        model_.findWindow([&window](const PaletteWindow& w) { return &static_cast<const WorkWindowLink&>(w).kesto() == &window; }));
}

bool TFormCtrl::loadByChooser(TFormKesto& window, QString& chooserFolder) {
    WorkRunner& runner = window.runner();
    bool chosen = false;
    const auto chooser = [&](const QString& filter, const QString& title, const QString& start) {
        QString path;
        chosen = choosePath(filter, title, path, this, start);
        if (chosen) {
            // The statements are about to be replaced: the run must not stand on them.
            runner.breakProgram();
            runner.animation().theme.reset();
            runner.setChart(nullptr);
        }
        return path;
    };
    if (runner.interpreter().chooseProgram(chooser, chooserFolder) != 0 || !chosen) return false;
    const std::optional<QString>& theme = runner.animation().theme;
    if (theme && !theme->isEmpty()) {
        showTheme(*theme);
        showCommandLine(*theme);
    }
    return true;
}

void TFormCtrl::showTheme(const QString& title) { CtrlPanelTheme->setText(title); }
QString TFormCtrl::theme() const { return CtrlPanelTheme->text(); }
void TFormCtrl::showCommandLine(const QString& text) { CtrlEditCmd->setText(text); }
QString TFormCtrl::commandLine() const { return CtrlEditCmd->text(); }
void TFormCtrl::showProgramInterval(const QString& text) { PanelAcmdTime->setText(text); }
void TFormCtrl::showCameraStatus(const QString& text) { labelCamera->setText(text); }

void TFormCtrl::updateRunButton(bool running) {
    ImageCtrlRun->setVisible(!running);
    PanelCtrlRun->setText(running ? QStringLiteral("■") : QString());
    colourButton(PanelCtrlRun, running ? 0xFFFFFF : kRunPanelColour, 0);
    gallery_.showRunButton(running);
}

int TFormCtrl::framePeriod() const { return UpDownWait->position(); }

void TFormCtrl::showFramePeriod(int milliseconds) {
    const auto keep = std::move(UpDownWait->onChanged);
    UpDownWait->setPosition(milliseconds);
    UpDownWait->onChanged = keep;
    pTimeWait->setText(QString::asprintf("%3d", UpDownWait->position()));
}

QString TFormCtrl::framePeriodText() const { return pTimeWait->text(); }
QString TFormCtrl::canvasText() const { return PanelCanvasZoom->text(); }

void TFormCtrl::followWindow(TFormKesto& window) {
    showTheme(window.windowTitle());
    updateRunButton(window.runner().running());
    showFramePeriod(window.runner().framePeriod());
    PanelCanvasZoom->setText(QString::number(window.runner().zoomPercent()));
    // The control steps from the window's zoom, not from the previous window's.
    const auto keep = std::move(UpDownCanvas->onChanged);
    UpDownCanvas->setPosition(window.runner().zoomPercent());
    UpDownCanvas->onChanged = keep;
}

bool TFormCtrl::isCurrentWindow(const WorkRunner& runner) const {
    const WorkWindowLink* link = linkOf(runner);
    return !link || link == model_.currentWindow();
}

bool TFormCtrl::isClosing(const WorkRunner& runner) const {
    const PaletteWindow* closing = model_.windowToClose();
    return closing && closing == linkOf(runner);
}

bool TFormCtrl::hasNeighbours(const WorkRunner& runner) const { return model_.hasNeighbours(linkOf(runner)); }

bool TFormCtrl::isTourWindow(const WorkRunner& runner) const {
    return model_.tourWindow && model_.tourWindow == linkOf(runner);
}

void TFormCtrl::logViewing(ViewingEvent event, const WorkRunner& window, const QString& caption) {
    // Each viewing counts from its own window's start, however many windows show the same work.
    const WorkWindowLink* link = linkOf(window);
    model_.addLogLine(event == ViewingEvent::Started ? PaletteLog::ViewingStarted : PaletteLog::ViewingEnded,
                      link ? link->caption() : caption, &window);
}

QStringList TFormCtrl::logLines() const { return MemoLog->toPlainText().split(u'\n'); }
int TFormCtrl::logLineCount() const { return MemoLog->blockCount(); }

// ---- controls ----

void TFormCtrl::runClick() { gallery_.runOrStop(); }

void TFormCtrl::PanelInitClick() {
    TFormKesto& window = currentKesto();
    // The program starts afresh at the window's next frame.
    window.runner().requestRenew();
    gallery_.announceOn(window, QStringLiteral("作品の更新中です"), GalleryState::kAnnounceTextSize);
}

void TFormCtrl::PanelDeleteClick() {
    model_.removeCurrentWindow();
}

bool TFormCtrl::narrow() const { return PanelCamera->width() == 0; }

void TFormCtrl::showGoOut(bool shown) {
    PanelGoOut->setText(QStringLiteral("≫"));
    PanelGoOut->setToolTip(QStringLiteral("　右下隅に等倍表示　"));
    PanelGoOut->setVisible(shown);
}

void TFormCtrl::PanelGoOutClick() {
    TFormKesto& window = currentKesto();
    const bool toFull = window.runner().listPlace().smallInList;
    PanelGoOut->setText(toFull ? QStringLiteral("≪") : QStringLiteral("≫"));
    PanelGoOut->setToolTip(toFull ? QStringLiteral("　一覧表示の位置に戻す　") : QStringLiteral("　右下隅に等倍表示　"));
    toFull ? window.goFullSize() : window.goListSize();
}

void TFormCtrl::PanelCtrlSizeClick() {
    const bool toNarrow = !narrow();
    pCameraInfo->setVisible(!toNarrow);
    PanelTopLeft->setVisible(!toNarrow);
    PanelMidLeft->setVisible(!toNarrow);
    PanelCamera->resize(toNarrow ? 0 : PaletteLayout::kCameraWidth, kMidHeight);
    PanelCtrlSize->setText(toNarrow ? QStringLiteral("≪") : QStringLiteral("≫"));
    setGeometry(PaletteLayout::sizeToggled(geometry(), toNarrow));
    layoutPalette();
}

void TFormCtrl::PanelLogClick() {
    if (height() > PaletteLayout::kNormalHeight) {
        logFlag_ = 2;
        PanelLog->setText(QStringLiteral("▼"));
        PanelLog->setToolTip(QStringLiteral("　パネル縦拡張（ログの表示） "));
        resize(width(), PaletteLayout::kNormalHeight);
        return;
    }
    raise();
    logFlag_ = 1;
    PanelLog->setText(QStringLiteral("▲"));
    PanelLog->setToolTip(QStringLiteral("　パネル縦縮小（ログ非表示） "));
    resize(width(), PaletteLayout::kNormalHeight + PaletteLayout::kLogOpenStep);
    MemoLog->appendPlainText(QString());
    growLog();
}

void TFormCtrl::setWaitPosition(int ms) {
    // Below the range the control does not move, and nothing changes.
    if (ms < 1 || ms > 10000) return;
    showFramePeriod(ms);
    if (WorkRunner* r = currentRunner()) r->setFramePeriod(ms);
}

void TFormCtrl::setCanvasPosition(int percent) {
    if (percent < 10 || percent > 1000) return;
    if (UpDownCanvas->position() != percent) {
        const auto keep = std::move(UpDownCanvas->onChanged);
        UpDownCanvas->setPosition(percent);
        UpDownCanvas->onChanged = keep;
    }
    PanelCanvasZoom->setText(QString::number(percent));
    currentKesto().setZoom(percent);
}

void TFormCtrl::runTypedCommand(const QString& text) {
    if (WorkRunner* r = currentRunner()) r->runTypedCommand(text);
}

void TFormCtrl::cameraTurn(int step) {
    if (WorkRunner* r = currentRunner()) {
        r->turnCamera(step);
        focusKeyWhenStretched();
    }
}

void TFormCtrl::focusKeyWhenStretched() {
    // A stretched picture is steered from the keyboard: the key field takes the keys.
    if (WorkRunner* r = currentRunner(); r && r->view().stretched) EditKey->setFocus();
}

void TFormCtrl::PanelStretchClick() {
    WorkRunner* r = currentRunner();
    if (!r) return;
    r->toggleStretched();
    if (r->view().stretched) EditKey->setFocus();
    currentKesto().update();
}

void TFormCtrl::resetCamera(bool clearMotion) {
    WorkRunner* r = currentRunner();
    if (!r) return;
    r->resetCamera(clearMotion);
    updownZoom->setPosition(0);
    UpDownCamera->setPosition(0);
    focusKeyWhenStretched();
}

// ---- the log ----

int TFormCtrl::logNeededHeight() const {
    // The height at which every line of the log is in sight: its first visible line is the first.
    int lines = 0;
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(MemoLog->document()->documentLayout());
    for (QTextBlock block = MemoLog->document()->begin(); block.isValid(); block = block.next()) {
        if (layout) layout->ensureBlockLayout(block);
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    }
    const int text = lines * QFontMetrics(MemoLog->font()).lineSpacing() +
                     2 * static_cast<int>(MemoLog->document()->documentMargin()) + 2 * MemoLog->frameWidth();
    return PaletteLayout::kNormalHeight + text + kGrabStrip;
}

void TFormCtrl::growLog() {
    if (height() < PaletteLayout::kGrowLimit) resize(width(), PaletteLayout::grownHeight(height(), logNeededHeight()));
    // On screen the log itself tells whether its first line is in sight; the estimate above
    // only saves most of the steps.
    QScrollBar* bar = MemoLog->verticalScrollBar();
    while (MemoLog->isVisible() && height() < PaletteLayout::kGrowLimit && bar->maximum() > 0)
        resize(width(), height() + PaletteLayout::kGrowStep);
    bar->setValue(bar->maximum());
}

void TFormCtrl::appendLogLine(const QString& line) {
    MemoLog->appendPlainText(line);
    if (logFlag_ != 0 && height() > PaletteLayout::kNormalHeight) growLog();
}

// ---- the timer and the model's stage ----

void TFormCtrl::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (PanelMidLeft->isVisible()) pTimeWait->setText(QString::asprintf("%3d", UpDownWait->position()));
    model_.startTimer();
}

void TFormCtrl::TimerCtrlTimer() { model_.tick(); }

void TFormCtrl::firstTick() { gallery_.pointerToTopBar(); }

void TFormCtrl::windowClosing(PaletteWindow& window) { gallery_.windowClosing(static_cast<WorkWindowLink&>(window).kesto()); }

void TFormCtrl::windowClosed(PaletteWindow* current, int count) {
    if (current) {
        followWindow(static_cast<WorkWindowLink*>(current)->kesto());
        showCommandLine(current->caption());
    }
    gallery_.windowCountChanged(count);
}

void TFormCtrl::endProgram() {
    TimerCtrl.stop();
    gallery_.endProgram();
}

// ---- dragging ----

void TFormCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPalette();
}

void TFormCtrl::mousePressEvent(QMouseEvent* event) {
    raise();
    dragX_ = static_cast<int>(event->position().x());
    dragY_ = static_cast<int>(event->position().y());
    dragMoves_ = false;
}

void TFormCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (dragX_ < 0) return;
    const int x = static_cast<int>(event->position().x());
    const int y = static_cast<int>(event->position().y());
    if (dragMoves_) {
        move(pos() + QPoint(x - dragX_, y - dragY_));
        return;
    }
    const DragStep step = dragStep(x, y, dragX_, dragY_, geometry());
    setGeometry(step.geometry);
    dragX_ = step.previousX;
    dragY_ = step.previousY;
}

void TFormCtrl::mouseReleaseEvent(QMouseEvent*) { dragX_ = dragY_ = -1; }

bool TFormCtrl::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (MemoLog && watched == MemoLog->viewport() && press) raise();
    if (watched == PanelTop && press) {
        // The title bar only moves the palette; its point stays under the pointer.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = PanelTop->mapTo(this, mouse->position().toPoint());
        raise();
        dragX_ = at.x();
        dragY_ = at.y();
        dragMoves_ = true;
        return true;
    }
    if (watched == PanelTop && event->type() == QEvent::MouseMove && dragX_ >= 0) {
        const QPoint at = PanelTop->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
        move(pos() + at - QPoint(dragX_, dragY_));
        return true;
    }
    if (watched == PanelTop && event->type() == QEvent::MouseButtonRelease) {
        dragX_ = dragY_ = -1;
        return true;
    }
    if ((watched == pCameraInfo || watched == labelCamera) && event->type() == QEvent::MouseButtonRelease) {
        resetCamera(watched == pCameraInfo);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
