#include "TfVimora.h"

#include "Classroom.h"
#include "TFormMPlayer.h"

#include "BgrColor.h"
#include "GalleryWidgets.h"
#include "ListDisplay.h"
#include "WorkWindowLink.h"
#include "PaletteLayout.h"
#include "TFormDisplay.h"
#include "WorksGrid.h"
#include "atelier/TFormAtelier.h"
#include "atelier/TFormHelp.h"
#include "common/MousePointer.h"
#include "common/PanelDrag.h"
#include "common/ProgramFont.h"
#include "common/RunMarkLabel.h"
#include "work/TFormKesto.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <limits>

using namespace GalleryWidgets;

namespace {

constexpr uint32_t kGalleryColour = 0x302000;
constexpr uint32_t kTopColour = 0x3800;
constexpr uint32_t kWorksPanelColour = 0xE8FFD0;
constexpr int kWorksBorder = 5;
constexpr int kWorksTopHeight = 21;

// Pressing moves the button 2 pixels right and 2 up; releasing moves it back.
void givePressedLook(QPushButton* button) {
    QObject::connect(button, &QPushButton::pressed, button, [button] { button->move(button->pos() + QPoint(2, -2)); });
    QObject::connect(button, &QPushButton::released, button, [button] { button->move(button->pos() - QPoint(2, -2)); });
}

} // namespace

TfVimora::TfVimora(GallerySettings settings, QWidget* parent, PaletteLog::Clock clock)
    : QWidget(parent), settings_(std::move(settings)), paletteClock_(std::move(clock)) {
    setWindowTitle(QStringLiteral("Vimora Gallery"));
    resize(1264, 715);
    paintBackground(this, kGalleryColour);
    display_ = std::make_unique<TFormDisplay>(this);

    buildTopBar();
    PanelBase = new QWidget(this);
    PanelBase->setGeometry(0, 40, width(), height() - 40);
    catalog_ = std::make_unique<Catalog>(settings_.homeFolder);
    state_ = std::make_unique<GalleryState>(*catalog_, static_cast<GalleryStage&>(*this));
    state_->timer().listen([this](bool on) { on ? TimerUpDown.start() : TimerUpDown.stop(); });
    catalog_->readSources();
    list_ = std::make_unique<ListDisplay>(*this);
    state_->setAutoMode(settings_.autoModeLevel);
    buildWorksPanel();
    catalog().setSearchPanel([this](bool shown) {
        PanelURLSerch->setVisible(shown);
        if (shown) PanelURLSerch->repaint();
    });

    TimerUpDown.setInterval(GalleryState::kTimerInterval);
    connect(&TimerUpDown, &QTimer::timeout, this, &TfVimora::TimerUpDownTimer);
}

TFormCtrl& TfVimora::palette() {
    if (!palette_) buildPalette();
    return *palette_;
}

void TfVimora::buildPalette() {
    palette_ = std::make_unique<TFormCtrl>(static_cast<PaletteGallery&>(*this), *state_, static_cast<KestoHost&>(*this),
                                           PanelBase, std::move(paletteClock_));
    palette_->createWindow();
    tour_ = std::make_unique<GalleryTour>(palette_->model(), *state_, static_cast<TourStage&>(*this));
    // Made after the works panel, the work window and the music player would stand over it; they
    // stay beneath it, the palette above everything.
    PanelWorks->raise();
    PanelURLSerch->raise();
    // Every alldisp= level starts by showing the first work: list display then opens on its group.
    state().showRow(0);
    if (isVisible()) showPaletteWindows();
}

void TfVimora::showPaletteWindows() {
    palette_->show();
    palette_->raise();
    TFormKesto& window = workWindow();
    window.show();
    window.runner().resetView();
}

TfVimora::~TfVimora() {
    TimerUpDown.stop();
    help_.reset();
    atelier_.reset();
    mug_.reset();
    tour_.reset();
    list_.reset();
    display_.reset();
    palette_.reset();
    state_.reset();
    catalog_.reset();
}

void TfVimora::buildTopBar() {
    PanelTop = new QWidget(this);
    paintBackground(PanelTop, kTopColour);
    PanelTitol = makeLabel(PanelTop, QStringLiteral(" Vimora Art"), QRect(0, 0, 260, 40), 0x80FFF0,
                           programFont(QStringLiteral("Times New Roman"), 32, true, true));
    auto* version = makeLabel(PanelTitol, QStringLiteral("ver.2.99　150707"), QRect(190, 24, 120, 14), 0x60E0D0,
                              programFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
    PanelTitol->resize(version->geometry().right() + 4, 40);

    PanelTopLeft = new QWidget(PanelTop);
    PanelTopLeft->setGeometry(0, 0, 544, 40);
    auto* prev = makeButton(PanelTopLeft, QStringLiteral("↑"), QRect(4, 8, 20, 25), 0xD0D0D0,
                            QStringLiteral(" 前のグループに移動します "));
    auto* next = makeButton(PanelTopLeft, QStringLiteral("↓"), QRect(26, 8, 20, 25), 0xD0D0D0,
                            QStringLiteral(" 次のグループに移動します "));
    PanelGroup = makeLabel(PanelTopLeft, QString(), QRect(50, 8, 180, 25), 0x80FFFF,
                           programFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true));
    PanelGroup->setToolTip(QStringLiteral(" ギャラリー展示する現在のグループです "));
    PanelUpDown = makeButton(PanelTopLeft, QStringLiteral("▲"), QRect(234, 8, 20, 25), 0xD0D0D0,
                             QStringLiteral(" 展示作品の一覧を消去します "));
    PanelTour = makeButton(PanelTopLeft, QStringLiteral("巡回"), QRect(260, 8, 56, 25), 0x80FF80,
                           QStringLiteral(" ツアー（１作品をずつ「acmd」を実行）を開始します "));
    PanelAllDisplay = makeButton(PanelTopLeft, QStringLiteral("全展示"), QRect(320, 8, 64, 25), 0xF0FFC0,
                                 QStringLiteral(" 全作品の展示・非展示を切り替えます "));
    givePressedLook(PanelTour);
    givePressedLook(PanelAllDisplay);
    connect(PanelTour, &QPushButton::clicked, this, &TfVimora::PanelTourClick);
    connect(PanelAllDisplay, &QPushButton::clicked, this, &TfVimora::PanelAllDisplayClick);
    connect(PanelAllDisplay, &QPushButton::released, this, [this] { palette().stopMusic(); });
    const struct { const char16_t* text; const char16_t* hint; int left; QPushButton** button; } hidden[] = {
        {u"≪", u" 一覧展示作品のサイズを縮小します ", 388, &PanelNarrow},
        {u"≫", u" 一覧展示作品のサイズを拡大します ", 414, &PanelWide},
        {u"全発表", u" 全作品のアニメーション展示を開始します ", 440, &PanelAllActive},
        {u"全Run", u" 全作品「acmd」を同時実行します ", 492, &PanelAllRun}};
    for (const auto& h : hidden) {
        *h.button = makeButton(PanelTopLeft, QString::fromUtf16(h.text), QRect(h.left, 8, h.left < 440 ? 24 : 50, 25),
                               0xD0D0D0, QString::fromUtf16(h.hint));
        (*h.button)->hide();
    }
    connect(PanelNarrow, &QPushButton::clicked, this, [this] { list_->narrow(); });
    connect(PanelWide, &QPushButton::clicked, this, [this] { list_->widen(); });
    // The pointer leaves the button, which would otherwise stand over the work coming forward.
    connect(PanelAllActive, &QPushButton::clicked, this, [this] {
        moveCursor(0, -30);
        list_->togglePresentAll();
    });
    connect(PanelAllRun, &QPushButton::clicked, this, [this] {
        moveCursor(0, -30);
        list_->toggleRunAll();
    });
    connect(prev, &QPushButton::clicked, this, [this] { state().moveToPreviousGroup(); });
    connect(next, &QPushButton::clicked, this, [this] {
        palette().stopMusic();
        state().moveToGroup();
    });
    connect(PanelUpDown, &QPushButton::clicked, this, &TfVimora::slideWorksList);

    pTopRight = new QWidget(PanelTop);
    const struct { const char16_t* text; uint32_t colour; const char16_t* hint; } right[] = {
        {u"宇宙Ｇ", 0xD0D0D0, u""}, {u"アトリエ", 0xFFFFE0, u" アトリエに移動します "},
        {u"vra教室", 0xC0E0E0, u" ヴィモラアート教室に入ります "}, {u"ヘルプ", 0xD0D0, u" ヘルプを表示します "},
        {u"閉館", 0xD0D0D0, u" ギャラリーを閉館します "}};
    int left = 4;
    for (const auto& r : right) {
        QPushButton* button = makeButton(pTopRight, QString::fromUtf16(r.text), QRect(left, 8, 74, 25), r.colour,
                                         QString::fromUtf16(r.hint));
        left += 78;
        const QString text = QString::fromUtf16(r.text);
        if (text == u"閉館"_qs) connect(button, &QPushButton::clicked, this, &QWidget::close);
        if (text == u"閉館"_qs || text == u"ヘルプ"_qs || text == u"アトリエ"_qs) givePressedLook(button);
        if (text == u"ヘルプ"_qs) connect(button, &QPushButton::clicked, this, &TfVimora::PanelHelpClick);
        if (text == u"vra教室"_qs) connect(button, &QPushButton::clicked, this, &TfVimora::PanelRoomClick);
        if (text == u"宇宙Ｇ"_qs) {
            PanelMUG = button;
            connect(button, &QPushButton::clicked, this, &TfVimora::PanelMUGClick);
        }
        if (text == u"アトリエ"_qs) {
            PanelOption = button;
            connect(button, &QPushButton::clicked, this, [this] {
                announce(QStringLiteral("「アトリエ」に入室します。"), 0, false);
                state().requestAction(GalleryState::OpenAtelier);
            });
        }
    }
}

void TfVimora::buildWorksPanel() {
    PanelWorks = new QFrame(PanelBase);
    PanelWorks->setObjectName(QStringLiteral("PanelWorks"));
    PanelWorks->installEventFilter(this);
    paintBackground(PanelWorks, kWorksPanelColour);
    PanelWorks->setGeometry(20, 6, 300, 200);
    PanelWorksTop = new QWidget(PanelWorks);
    PanelWorksTop->setGeometry(kWorksBorder, 0, 290, kWorksTopHeight);
    auto* top = makeButton(PanelWorksTop, QStringLiteral("頂"), QRect(0, 1, 24, 19), 0x3000, {}, 0xC0E0B0);
    PanelGotoTop = top;
    for (QWidget* hover : {static_cast<QWidget*>(PanelUpDown), static_cast<QWidget*>(top)}) hover->installEventFilter(this);
    auto* url = makeButton(PanelWorksTop, QStringLiteral("次URL"), QRect(28, 1, 50, 19), 0x3000, {}, 0xC0E0B0);
    auto* group = makeButton(PanelWorksTop, QStringLiteral("次集"), QRect(82, 1, 40, 19), 0x3000, {}, 0xC0E0B0);
    PanelGotoBtm = makeButton(PanelWorksTop, QStringLiteral("底"), QRect(126, 1, 24, 19), 0x3000, {}, 0xC0E0B0);
    PanelGotoBtm->installEventFilter(this);
    connect(top, &QPushButton::clicked, this, [this] { state().scrollTo(0); });
    connect(PanelGotoBtm, &QPushButton::clicked, this, [this] { state().scrollTo(catalog().rowCount() - 1); });
    connect(url, &QPushButton::clicked, this, [this] { state().nextSource(); });
    connect(group, &QPushButton::clicked, this, [this] { state().nextGroup(); });

    worksScroll = new QScrollArea(PanelWorks);
    worksScroll->setFrameShape(QFrame::NoFrame);
    worksScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    worksScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgWorks = new WorksGrid(state().worksList());
    sgWorks->setToolTip(QStringLiteral(" 展示作品の選択　"));
    worksScroll->setWidget(sgWorks);
    connect(sgWorks, &WorksGrid::rowReleased, this, [this](int row) { state().selectRow(row, true); });
    connect(sgWorks, &WorksGrid::runRequested, this, &TfVimora::runOrStop);
    connect(sgWorks, &WorksGrid::rowMoved, this, [this](int row) {
        PanelRun->move(sgWorks->runButtonPlace());
        const QRect r = sgWorks->rowRect(row);
        worksScroll->ensureVisible(r.center().x(), r.center().y(), 0, r.height());
    });

    PanelRun = new QLabel(sgWorks);
    PanelRun->setObjectName(QStringLiteral("PanelRun"));
    PanelRun->setAlignment(Qt::AlignCenter);
    PanelRun->setGeometry(0, -20, 16, 16);
    PanelRun->installEventFilter(this);
    ImageRun = makeRunMarkLabel(PanelRun, QSize(16, 16), 2, 2, 13);
    ImageRun->setObjectName(QStringLiteral("ImageRun"));
    ImageRun->installEventFilter(this);
    paintRunPanel(false);

    PanelURLSerch = makeLabel(PanelBase, QStringLiteral("URLの検索中"), QRect(40, 40, 188, 40), 0x3000,
                              programFont(QStringLiteral("ＭＳ Ｐゴシック"), 16, true));
    PanelURLSerch->setAlignment(Qt::AlignCenter);
    paintBackground(PanelURLSerch, 0x80FFFF);
    PanelURLSerch->hide();
    rowsChanged();
}

void TfVimora::layoutWorksList() {
    const std::vector<int> heights = state().worksList().rowHeights(state().listFold(), catalog().rowToEntry(state().currentRow()));
    sgWorks->setRowHeights(heights);
    const int panelHeight = WorksList::panelHeight(heights, height(), state().listFold() != 0);
    const int needed = state().worksList().neededWidth(QFontMetrics(sgWorks->font()));
    const int width = std::max(PanelWorks->width(), needed);
    placeWorksPanelAt(QRect(PanelWorks->x(), PanelWorks->y(), width, panelHeight));
    fitWorksGrid();
}

void TfVimora::fitWorksGrid() {
    const QSize panel = PanelWorks->size();
    PanelWorksTop->resize(panel.width() - 2 * kWorksBorder, kWorksTopHeight);
    PanelGotoBtm->move(PanelWorksTop->width() - PanelGotoBtm->width() - 10, 1);
    worksScroll->setGeometry(kWorksBorder, kWorksTopHeight + 1, panel.width() - 8 - kWorksBorder,
                             panel.height() - kWorksTopHeight - 1 - kWorksBorder);
    sgWorks->resize(worksScroll->viewport()->width(), sgWorks->height());
    PanelRun->move(sgWorks->runButtonPlace());
}

bool TfVimora::dragWorksPanel(QEvent* event) {
    const auto at = [event] { return static_cast<QMouseEvent*>(event)->position().toPoint(); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        dragX_ = at().x();
        dragY_ = at().y();
        PanelWorks->raise();
        return true;
    case QEvent::MouseMove: {
        if (dragX_ < 0) return false;
        const DragStep step = dragStep(at().x(), at().y(), dragX_, dragY_, PanelWorks->geometry());
        const QSize before = PanelWorks->size();
        placeWorksPanelAt(step.geometry);
        dragX_ = step.previousX;
        dragY_ = step.previousY;
        if (PanelWorks->size() != before) fitWorksGrid();
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragX_ = dragY_ = -1;
        return true;
    default:
        return false;
    }
}

void TfVimora::rowsChanged() {
    if (!sgWorks) return;
    // A panel the user resized keeps its size until the fold or the rows change.
    const CatalogEntry at = catalog().rowToEntry(state().currentRow());
    const CatalogEntry foldAround{at.source, state().listFold() & WorksList::FoldGroup ? at.group : nullptr, nullptr};
    if (state().listFold() != laidFold_ || catalog().rowCount() != laidRows_ ||
        (state().listFold() != 0 && foldAround != laidAround_)) {
        laidFold_ = state().listFold();
        laidRows_ = catalog().rowCount();
        laidAround_ = foldAround;
        layoutWorksList();
    }
    sgWorks->setCurrentRow(state().currentRow());
    sgWorks->setRunning(palette_ && workWindow().runner().running());
    PanelRun->move(sgWorks->runButtonPlace());
    const QRect row = sgWorks->rowRect(state().currentRow());
    if (!row.isEmpty()) worksScroll->ensureVisible(row.center().x(), row.center().y(), 0, row.height());
}

QString TfVimora::groupTitle() const { return PanelGroup->text(); }

void TfVimora::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PanelTop->setGeometry(0, 0, width(), 40);
    pTopRight->setGeometry(width() - 400, 0, 400, 40);
    // The title stands clear of the group buttons on a narrow bar.
    const int shift = width() < 1600 ? 100 : 0;
    PanelTitol->move((width() - PanelTitol->width()) / 2 + shift, 0);
    PanelBase->setGeometry(0, 40, width(), height() - 40);
    layoutWorksList();
    placePalette();
    centreWorkWindow();
}

void TfVimora::placePalette() {
    if (palette_) palette_->move(PaletteLayout::leftOnArea(PanelBase->width(), palette_->width()), palette_->y());
}

void TfVimora::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (palette_) showPaletteWindows();
    if (PanelWorks->isVisible()) sgWorks->setFocus();
}

// The palette is built once the gallery's first picture is drawn, unless something needed it
// before; a gallery closed in between leaves it to its first use.
void TfVimora::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (palette_ || paletteQueued_) return;
    paletteQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) palette();
    });
}

// "閉館": nothing of the gallery may stay behind, neither a floating work window nor a timer.
void TfVimora::closeEvent(QCloseEvent* event) {
    if (atelier_ && atelier_->isVisible()) atelier_->closeAtelier();
    TimerUpDown.stop();
    display_->hide();
    if (mug_) {
        mug_->timerMug().stop();
        mug_->stopAll();
    }
    if (palette_) palette_->closeAllWindows(); // without the palette there is no work window yet
    QWidget::closeEvent(event);
}

bool TfVimora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelWorks) return dragWorksPanel(event) || QWidget::eventFilter(watched, event);
    // Passing over "▲", "頂" or "底" stops the music (a palette not built yet has none).
    if (event->type() == QEvent::Enter && (watched == PanelUpDown || watched == PanelGotoTop || watched == PanelGotoBtm) &&
        palette_)
        palette_->stopMusic();
    if ((watched == ImageRun || watched == PanelRun) && event->type() == QEvent::MouseButtonRelease) {
        if (watched == ImageRun) {
            const WorkRunner& runner = workWindow().runner();
            palette().addMessage(PaletteLog::runClickLine(runner.runCount(), runner.running()));
        }
        runOrStop();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfVimora::runOrStop() {
    TFormKesto& window = workWindow();
    WorkRunner& runner = window.runner();
    if (runner.runCount() != 0) {
        // The toggle waits for the palette's next step, outside this handler and after the
        // announcement was drawn.
        announceOn(window, runner.running() ? QStringLiteral("作品鑑賞を中断します") : QStringLiteral("鑑賞の準備中です"),
                   GalleryState::kAnnounceTextSize);
        // A fault's stop flag would stop the palette timer before it toggles; the user asking
        // to run again is a new start, as choosing a work is.
        state().setStopFlag(0);
        palette().model().requestRunToggle();
        palette().wakeTimer();
    } else {
        runner.toggleRun();
    }
    rowsChanged();
}

void TfVimora::slideWorksList() {
    const bool showing = state().slideWorksList();
    if (showing) PanelWorks->raise();
    PanelUpDown->setText(showing ? QStringLiteral("▲") : QStringLiteral("▼"));
    PanelUpDown->setToolTip(showing ? QStringLiteral(" 展示作品の一覧を消去します ") : QStringLiteral(" 展示作品の一覧を表示します "));
}

// The works panel is laid out or dragged: the state's slides start from there.
void TfVimora::placeWorksPanelAt(const QRect& geometry) {
    PanelWorks->setGeometry(geometry);
    state().setWorksPanel(geometry.y(), geometry.height());
}

void TfVimora::placeWorksPanel(const WorksPanelPlace& place) {
    PanelWorks->move(PanelWorks->x(), place.top);
    PanelWorks->setVisible(place.visible);
}

void TfVimora::centreWorkWindow() {
    if (!palette_) return;
    TFormKesto& window = workWindow();
    window.centreInGallery();
    window.moveClearOfWorksPanel();
}

void TfVimora::TimerUpDownTimer() {
    if (!laidOut_) {
        laidOut_ = true;
        layoutWorksList();
    }
    state().tick();
}

// ---- GalleryStage ----

void TfVimora::announce(const QString& text, int textSize, bool onWork) {
    display_->setMessage(text, textSize);
    display_->setHost(onWork ? static_cast<QWidget*>(&workWindow()) : (geometry().top() > 0 ? this : nullptr));
    display_->showBoard();
}

void TfVimora::setDisplayText(const QString& text) { display_->setMessage(text); }

void TfVimora::hideDisplay() { display_->hide(); }

bool TfVimora::slideDisplay() { return display_->isVisible() && display_->slideTick(); }

bool TfVimora::loadWork(const CatalogEntry& entry) {
    TFormKesto& window = workWindow();
    window.runner().clearWork();
    if (WorkWindowLink* link = palette().linkOf(window)) link->entry = entry;
    window.setTitlePlateVisible(false);
    const WorkLocation where = Catalog::locateWork(*entry.source, *entry.group, *entry.work);
    uint32_t fetched = 0;
    if (!window.openWork(where.folder, where.fileName, &fetched)) {
        // The work before must not run again under this one's row: the window is left empty,
        // and a tour passes it over as a work that cannot start.
        window.runner().interpreter().clearProgram();
        window.runner().close();
        window.setWindowTitle(entry.work->title);
        return false;
    }
    if (where.remote) {
        entry.work->fetchedBytes = static_cast<int>(std::min<uint32_t>(fetched, std::numeric_limits<int>::max()));
        palette().model().addLogLine(PaletteLog::Loaded, Catalog::fetchedText(*entry.source, *entry.group, *entry.work));
    } else {
        settings_.workFolder = where.folder;
    }
    showLoaded(window, entry.work->title);
    return true;
}

void TfVimora::showLoaded(TFormKesto& window, const QString& title) {
    WorkRunner& runner = window.runner();
    if (!runner.animation().characters.empty()) {
        window.setWindowTitle(title);
        palette().showTheme(title);
        const std::optional<QString>& theme = runner.animation().theme;
        window.setTitleText(theme ? *theme : QString());
        window.setTitlePlateVisible(true);
        window.showChartButton();
        window.setMusicButtonVisible(palette().hasMusic());
        palette().model().addLogLine(PaletteLog::Shown, title);
        palette().showCommandLine(QStringLiteral(" Kesto Basic"));
    } else {
        palette().showCommandLine(QStringLiteral(" ヴィモラデータは設定されていません！"));
        runner.close();
    }
    palette().followWindow(window);
    centreWorkWindow();
    // A lone window's plate has room for a wider hand; its placement also moves the music
    // player window beside it.
    window.setPlateCharacterWidth(palette().model().countWindows() == 1 ? TFormKesto::kLonePlateCharacterWidth
                                                                         : TFormKesto::kPlateCharacterWidth);
    palette().raise();
    rowsChanged();
}

void TfVimora::stopWorkTimers() { workWindow().runner().close(); }

void TfVimora::markGroup(const acmdGroupInfo& group) {
    PanelGroup->setText(group.title);
    // "↓" / "↑" mark the group and then load its first work, which marks it again: the log
    // notes the change once, unless something else was logged in between.
    if (&group == loggedGroup_ && palette().logLineCount() == loggedGroupAt_) return;
    palette().model().addLogLine(PaletteLog::GroupSet, group.title);
    loggedGroup_ = &group;
    loggedGroupAt_ = palette().logLineCount();
}

void TfVimora::endProgram() {
    TimerUpDown.stop();
    QApplication::exit(0);
}

void TfVimora::openAtelier() {
    PanelOption->hide();
    PanelTopLeft->hide();
    PanelWorks->hide();
    if (!atelier_) {
        atelier_ = std::make_unique<TFormAtelier>(static_cast<AtelierHost&>(*this));
        palette().messageListener = [this](const QString& line) {
            if (atelier_) atelier_->noteMessage(line);
        };
        colourButton(PanelOption, kButtonColour, 0x80);
    }
    atelier_->open();
}

void TfVimora::PanelHelpClick() {
    if (!help_) help_ = std::make_unique<TFormHelp>(settings_.homeFolder, PanelBase, HelpBrief, PanelBase);
    else help_->setPlace(HelpBrief, PanelBase);
    help_->showHelp();
}

void TfVimora::showUniverseHelp(QWidget* area) {
    if (!help_) help_ = std::make_unique<TFormHelp>(settings_.homeFolder, PanelBase, HelpUniverse, area);
    else help_->setPlace(HelpUniverse, area);
    help_->showHelp();
}

void TfVimora::releaseUniverseHelp() {
    // A docked viewer lives in the tree window's area until then; it must not go with that window.
    if (!help_ || help_->isFloating() || help_->parentWidget() == PanelBase) return;
    help_->hide();
    help_->setPlace(help_->helpMode(), PanelBase);
}

int TfVimora::paletteBottom() const { return const_cast<TfVimora*>(this)->palette().geometry().bottom() + 1; }

void TfVimora::refreshWork(TFormKesto& window) {
    window.runner().requestRenew();
    announceOn(window, QStringLiteral("作品の更新中です"), GalleryState::kAnnounceTextSize);
}

void TfVimora::atelierClosed() {
    announce(QStringLiteral("「アトリエを退出します。"), 0, false);
    PanelOption->show();
    PanelTopLeft->show();
    PanelWorks->show();
    state().startTimer(); // the announcement slides away on the gallery timer
}

// ---- PaletteGallery ----

void TfVimora::announceOn(TFormKesto& window, const QString& text, int textSize) {
    display_->setMessage(text, textSize);
    display_->setHost(&window);
    display_->showBoard();
    state().startTimer();
}

void TfVimora::showRunButton(bool running) {
    paintRunPanel(running);
    rowsChanged();
}

void TfVimora::paintRunPanel(bool running) {
    ImageRun->setVisible(!running);
    PanelRun->setText(running ? QStringLiteral("■") : QString());
    PanelRun->setStyleSheet(QStringLiteral("background:%1;color:#000000;").arg(cssColour(running ? 0xFFFFFF : kRunPanelColour)));
}

// One display tours the works list through its single window: there "巡回" stays. In list
// display the tour and "全発表" need two windows.
void TfVimora::windowCountChanged(int count) {
    const bool list = list_ && list_->on();
    PanelTour->setVisible(count > 1 || !list);
    PanelAllActive->setVisible(count > 1 && list);
}

void TfVimora::windowClosing(TFormKesto& window) {
    if (list_) list_->windowClosing(window);
    if (display_->host() == &window) display_->setHost(geometry().top() > 0 ? this : nullptr);
}

void TfVimora::pointerToTopBar() {
    if (const std::optional<QPoint> spot = topBarPointerSpot()) ::setCursor(spot->x(), spot->y());
}

// ---- KestoHost ----

QRect TfVimora::worksPanelRect() const { return PanelWorks && PanelWorks->isVisible() ? PanelWorks->geometry() : QRect(); }

std::optional<QPoint> TfVimora::topBarPointerSpot() const {
    return QPoint(geometry().left() + pTopRight->x(), geometry().top() + 10);
}

void TfVimora::windowActivated(TFormKesto& window) {
    WorkWindowLink* link = palette().linkOf(window);
    if (!link) return;
    TFormKesto& previous = workWindow();
    if (&previous != &window) {
        previous.runner().paintFrame(0x505030, true); // RGB(48, 80, 80): no longer the current one
    }
    palette().model().setCurrentWindow(link);
    palette().followWindow(window);
    if (link->entry.work)
        state().selectShownRow(catalog().entryToRow(link->entry.source, link->entry.group, link->entry.work));
    PanelWorks->raise();
    palette().raise(); // the palette stays on top of everything on the exhibition area
    rowsChanged();
}

void TfVimora::requestClose(TFormKesto& window) {
    if (WorkWindowLink* link = palette().linkOf(window); link && palette().model().requestClose(link))
        palette().wakeTimer();
}

void TfVimora::requestRunToggle(TFormKesto& window) {
    if (WorkWindowLink* link = palette().linkOf(window)) palette().model().setCurrentWindow(link);
    runOrStop();
}

void TfVimora::windowResized(TFormKesto& window) {
    if (display_->host() == &window && display_->isVisible()) display_->showBoard();
}

// "≫" / "≪" change the zoom after the window became current: the canvas size follows.
void TfVimora::zoomChanged(TFormKesto& window) {
    if (&window == &workWindow()) palette().followWindow(window);
}

// ---- WorkGallerySide ----

int TfVimora::stopFlag() const { return state_->stopFlag(); }

void TfVimora::setStopFlag(int flag) { state().setStopFlag(flag); }

WorkWindowLink* TfVimora::anyLinkOf(const WorkRunner& runner) const {
    if (WorkWindowLink* link = palette_ ? palette_->linkOf(runner) : nullptr) return link;
    return mug_ ? mug_->linkOf(runner) : nullptr;
}

void TfVimora::runEnded(WorkRunner& runner) {
    if (WorkWindowLink* link = anyLinkOf(runner)) GalleryTour::ended(*link);
    state().noteLastRow();
    rowsChanged();
}

// A work that cannot start (no characters, nothing loaded) has ended as far as the tour knows:
// waiting for its end would hold the tour on it for ever.
void TfVimora::runNotStarted(WorkRunner& runner) {
    if (WorkWindowLink* link = anyLinkOf(runner)) GalleryTour::ended(*link);
}

// ---- the space gallery ----

void TfVimora::PanelRoomClick() {
    palette();
    openClassroom(&workWindow(), homeFolder(), [this](const QString& path) { showWorkAt(path); });
}

bool TfVimora::showWorkAt(const QString& path) {
    palette();
    const QString wanted = QDir::cleanPath(path);
    Catalog& c = catalog();
    for (int row = 0; row < c.rowCount(); ++row) {
        const CatalogEntry e = c.rowToEntry(row);
        if (e.work && QDir::cleanPath(Catalog::workPath(*e.source, *e.group, *e.work)) == wanted) {
            state().showRow(row);
            return true;
        }
    }
    return false;
}

QWidget* TfVimora::musicPlayerWindow() const { return palette_ ? palette_->musicPlayer() : nullptr; }

void TfVimora::PanelMUGClick() {
    palette();
    announce(QStringLiteral("「ヴィモラ 宇宙ギャラリー」の設営中..."), 0, false);
    state().startTimer(); // the announcement slides away on the gallery timer
    if (mug_ && mug_->isVisible()) {
        mug_->closeGallery();
        return;
    }
    PanelTop->hide();
    pointerToTopBar();
    if (!mug_) {
        mug_ = std::make_unique<TFormMUG>(static_cast<MugGallery&>(*this), static_cast<KestoHost&>(*this), *catalog_, PanelBase);
        colourButton(PanelMUG, kButtonColour, 0x80);
    }
    if (state().worksPanel().visible) slideWorksList();
    workWindow().runner().switchFrameTimer(false);
    // Gallery tours and deferred palette steps pause while the space gallery is shown.
    palette().model().resting = true;
    palette().model().stopTimer();
    mug_->open();
}

void TfVimora::spaceGalleryClosed() {
    PanelTop->show();
    palette().model().resting = false;
    palette().wakeTimer();
    if (auto* first = static_cast<WorkWindowLink*>(palette().model().firstWindow())) {
        first->kesto().show();
        first->kesto().activateWindow();
    }
    if (!listDisplayOn() && !(atelier_ && atelier_->isVisible()) && !state().worksPanel().visible) slideWorksList();
    state().startTimer();
}

void TfVimora::spaceGalleryActivate(TFormKesto& window) {
    if (WorkWindowLink* link = mug_->linkOf(window)) mug_->flight().flyTo(*link);
}

void TfVimora::announceRunOn(TFormKesto& window) {
    announceOn(window, QStringLiteral("鑑賞の準備中です"), GalleryState::kAnnounceTextSize);
}

void TfVimora::runToggled(WorkRunner& runner, bool starting) {
    if (WorkWindowLink* link = palette().linkOf(runner)) list_->runToggled(link->kesto(), starting);
    rowsChanged();
}

// ---- list display and the tour ----

void TfVimora::PanelAllDisplayClick() {
    palette();
    moveCursor(0, -30);
    state().setStopFlag(0);
    announce(QStringLiteral("「ヴィモラ・アート」の展示作業中です"), 0, false);
    state().requestAction(GalleryState::ToggleListDisplay);
    const bool showWorks = list_->on() || !state().worksPanel().visible;
    if (showWorks != state().worksPanel().visible) slideWorksList();
    PanelOption->setEnabled(showWorks);
    colourButton(PanelOption, kButtonColour, showWorks ? 0xFFFFE0 : 0x808080);
}

void TfVimora::PanelTourClick() {
    palette();
    moveCursor(0, -30);
    state().setStopFlag(0);
    tour().toggle(true);
    palette().wakeTimer();
}

void TfVimora::toggleListDisplay() { list_->toggle(); }

bool TfVimora::listDisplayOnGroupChange(bool atOnce) { return list_->groupChanged(atOnce); }

void TfVimora::togglePresentAll() { list_->togglePresentAll(); }

void TfVimora::toggleRunAll() { list_->toggleRunAll(); }

bool TfVimora::stepListWindows(bool evenTick) { return list_->step(evenTick); }

void TfVimora::continueTour() {
    tour().toggle(false);
    palette().wakeTimer();
}

bool TfVimora::listDisplayOn() const { return list_ && list_->on(); }

void TfVimora::selectInList(const CatalogEntry& entry, bool rowChanged) { list_->select(entry, rowChanged); }

void TfVimora::announceTour(const QString& text) {
    announce(text, 0, false);
    state().startTimer();
}

void TfVimora::showTourButton(bool touring) {
    PanelTour->setText(touring ? QStringLiteral("巡■") : QStringLiteral("巡回"));
    colourButton(PanelTour, touring ? 0xE0E0E0 : kGalleryColour, touring ? 0xA0 : 0xF000);
}

void TfVimora::setWallColor(uint32_t color) { paintBackground(PanelBase, color); }
