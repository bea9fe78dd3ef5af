#include "TfVimora.h"

#include "BgrColor.h"
#include "common/ProgramFont.h"
#include "TFormDisplay.h"
#include "WorksGrid.h"
#include "common/PanelDrag.h"
#include "common/RunMark.h"
#include "work/TFormKesto.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <cstdio>

namespace {

constexpr uint32_t kGalleryColour = 0x302000;
constexpr uint32_t kTopColour = 0x3800;
constexpr uint32_t kButtonColour = 0x204000;
constexpr uint32_t kWorksPanelColour = 0xE8FFD0;
constexpr int kWorksBorder = 5;
constexpr int kWorksTopHeight = 21;

QString cssColour(uint32_t bgr) { return QColor(bgrToRgb(bgr)).name(); }

void paintBackground(QWidget* widget, uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(bgrToRgb(bgr)));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A caption panel that acts as a button, in the gallery's look.
QPushButton* makeButton(QWidget* parent, const QString& text, QRect place, uint32_t textColour,
                        const QString& hint = {}, uint32_t background = kButtonColour) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true));
    button->setStyleSheet(QStringLiteral("QPushButton{background:%1;color:%2;border:1px solid #507050;}"
                                         "QPushButton:pressed{padding-left:4px;padding-bottom:4px;}")
                              .arg(cssColour(background), cssColour(textColour)));
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, uint32_t textColour, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color:%1;").arg(cssColour(textColour)));
    return label;
}

} // namespace

TfVimora::TfVimora(GallerySettings settings, QWidget* parent)
    : QWidget(parent), settings_(std::move(settings)) {
    setWindowTitle(QStringLiteral("Vimora Gallery"));
    resize(1264, 715);
    paintBackground(this, kGalleryColour);
    display_ = std::make_unique<TFormDisplay>(this);
    catalog_ = std::make_unique<Catalog>(settings_.homeFolder);
    catalog_->readSources();
    state_ = std::make_unique<GalleryState>(*catalog_, static_cast<GalleryStage&>(*this));

    buildTopBar();
    PanelBase = new QWidget(this);
    workWindow_ = std::make_unique<TFormKesto>(static_cast<KestoHost&>(*this), 0, PanelBase);
    buildWorksPanel();
    catalog_->setSearchPanel([this](bool shown) {
        PanelURLSerch->setVisible(shown);
        if (shown) PanelURLSerch->repaint();
    });

    TimerUpDown.setInterval(GalleryState::kTimerInterval);
    connect(&TimerUpDown, &QTimer::timeout, this, &TfVimora::TimerUpDownTimer);
    // List display is not here yet, so every alldisp= level starts by showing the first work.
    state_->showRow(0);
    syncTimer();
}

TfVimora::~TfVimora() {
    TimerUpDown.stop();
    display_.reset();
    if (workWindow_) workWindow_->runner().close();
    workWindow_.reset();
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
    // The tour, list display and its companions arrive with their own windows; until then they
    // are shown but answer nothing.
    makeButton(PanelTopLeft, QStringLiteral("巡回"), QRect(260, 8, 56, 25), 0x80FF80,
               QStringLiteral(" ツアー（１作品をずつ「acmd」を実行）を開始します "));
    makeButton(PanelTopLeft, QStringLiteral("全展示"), QRect(320, 8, 64, 25), 0xF0FFC0,
               QStringLiteral(" 全作品の展示・非展示を切り替えます "));
    const struct { const char16_t* text; const char16_t* hint; int left; } hidden[] = {
        {u"≪", u" 一覧展示作品のサイズを縮小します ", 388}, {u"≫", u" 一覧展示作品のサイズを拡大します ", 414},
        {u"全発表", u" 全作品のアニメーション展示を開始します ", 440}, {u"全Run", u" 全作品「acmd」を同時実行します ", 492}};
    for (const auto& h : hidden)
        makeButton(PanelTopLeft, QString::fromUtf16(h.text), QRect(h.left, 8, h.left < 440 ? 24 : 50, 25), 0xD0D0D0,
                   QString::fromUtf16(h.hint))->hide();
    connect(prev, &QPushButton::clicked, this, [this] { state_->moveToPreviousGroup(); syncTimer(); });
    connect(next, &QPushButton::clicked, this, [this] { state_->moveToGroup(); syncTimer(); });
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
        if (QString::fromUtf16(r.text) == u"閉館"_qs) connect(button, &QPushButton::clicked, this, &QWidget::close);
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
    auto* url = makeButton(PanelWorksTop, QStringLiteral("次URL"), QRect(28, 1, 50, 19), 0x3000, {}, 0xC0E0B0);
    auto* group = makeButton(PanelWorksTop, QStringLiteral("次集"), QRect(82, 1, 40, 19), 0x3000, {}, 0xC0E0B0);
    PanelGotoBtm = makeButton(PanelWorksTop, QStringLiteral("底"), QRect(126, 1, 24, 19), 0x3000, {}, 0xC0E0B0);
    connect(top, &QPushButton::clicked, this, [this] { state_->scrollTo(0); syncTimer(); });
    connect(PanelGotoBtm, &QPushButton::clicked, this, [this] { state_->scrollTo(catalog_->rowCount() - 1); syncTimer(); });
    connect(url, &QPushButton::clicked, this, [this] { state_->nextSource(); syncTimer(); });
    connect(group, &QPushButton::clicked, this, [this] { state_->nextGroup(); syncTimer(); });

    worksScroll = new QScrollArea(PanelWorks);
    worksScroll->setFrameShape(QFrame::NoFrame);
    worksScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    worksScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgWorks = new WorksGrid(state_->worksList());
    sgWorks->setToolTip(QStringLiteral(" 展示作品の選択　"));
    worksScroll->setWidget(sgWorks);
    connect(sgWorks, &WorksGrid::rowReleased, this, [this](int row) { state_->selectRow(row, true); syncTimer(); });
    connect(sgWorks, &WorksGrid::runRequested, this, &TfVimora::runOrStop);

    ImageRun = new QLabel(sgWorks);
    ImageRun->setObjectName(QStringLiteral("ImageRun"));
    QImage mark(16, 16, QImage::Format_RGB32);
    mark.fill(Qt::black);
    drawRunMark(2, 2, mark, 13);
    ImageRun->setPixmap(QPixmap::fromImage(mark));
    ImageRun->setGeometry(0, -20, 16, 16);
    ImageRun->setToolTip(QStringLiteral("　マクロコマンドの実行　"));
    ImageRun->installEventFilter(this);

    PanelURLSerch = makeLabel(PanelBase, QStringLiteral("URLの検索中"), QRect(40, 40, 188, 40), 0x3000,
                              programFont(QStringLiteral("ＭＳ Ｐゴシック"), 16, true));
    PanelURLSerch->setAlignment(Qt::AlignCenter);
    paintBackground(PanelURLSerch, 0x80FFFF);
    PanelURLSerch->hide();
    rowsChanged();
}

void TfVimora::layoutWorksList() {
    const std::vector<int> heights = state_->worksList().rowHeights(state_->listFold(), catalog_->rowToEntry(state_->currentRow()));
    sgWorks->setRowHeights(heights);
    const int panelHeight = WorksList::panelHeight(heights, height(), state_->listFold() != 0);
    const int needed = state_->worksList().neededWidth(QFontMetrics(sgWorks->font()));
    const int width = std::max(PanelWorks->width(), needed);
    PanelWorks->setGeometry(PanelWorks->x(), PanelWorks->y(), width, panelHeight);
    fitWorksGrid();
}

void TfVimora::fitWorksGrid() {
    const QSize panel = PanelWorks->size();
    PanelWorksTop->resize(panel.width() - 2 * kWorksBorder, kWorksTopHeight);
    PanelGotoBtm->move(PanelWorksTop->width() - PanelGotoBtm->width() - 10, 1);
    worksScroll->setGeometry(kWorksBorder, kWorksTopHeight + 1, panel.width() - 8 - kWorksBorder,
                             panel.height() - kWorksTopHeight - 1 - kWorksBorder);
    sgWorks->resize(worksScroll->viewport()->width(), sgWorks->height());
    ImageRun->move(sgWorks->runButtonPlace());
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
        PanelWorks->setGeometry(step.geometry);
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
    const CatalogEntry at = catalog_->rowToEntry(state_->currentRow());
    const CatalogEntry foldAround{at.source, state_->listFold() & WorksList::FoldGroup ? at.group : nullptr, nullptr};
    if (state_->listFold() != laidFold_ || catalog_->rowCount() != laidRows_ ||
        (state_->listFold() != 0 && foldAround != laidAround_)) {
        laidFold_ = state_->listFold();
        laidRows_ = catalog_->rowCount();
        laidAround_ = foldAround;
        layoutWorksList();
    }
    sgWorks->setCurrentRow(state_->currentRow());
    sgWorks->setRunning(workWindow_ && workWindow_->runner().running());
    ImageRun->move(sgWorks->runButtonPlace());
    const QRect row = sgWorks->rowRect(state_->currentRow());
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
    centreWorkWindow();
}

void TfVimora::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    workWindow_->show();
    if (PanelWorks->isVisible()) sgWorks->setFocus();
}

bool TfVimora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelWorks) return dragWorksPanel(event) || QWidget::eventFilter(watched, event);
    if (watched == ImageRun && event->type() == QEvent::MouseButtonRelease) {
        WorkRunner& runner = workWindow_->runner();
        addMessage(QStringLiteral("runClick %1 %2").arg(runner.runCount()).arg(runner.running() ? 1 : 0));
        runOrStop();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfVimora::runOrStop() {
    // Without the palette there is no deferred toggle: the run flips at once.
    if (workWindow_->runner().runCount() != 0)
        announce(workWindow_->runner().running() ? QStringLiteral("作品鑑賞を中断します") : QStringLiteral("鑑賞の準備中です"),
                 GalleryState::kAnnounceTextSize, true);
    workWindow_->runner().toggleRun();
    state_->startTimer();
    syncTimer();
    rowsChanged();
}

void TfVimora::slideWorksList() {
    const bool showing = state_->slideWorksList();
    if (showing) PanelWorks->raise();
    PanelUpDown->setText(showing ? QStringLiteral("▲") : QStringLiteral("▼"));
    PanelUpDown->setToolTip(showing ? QStringLiteral(" 展示作品の一覧を消去します ") : QStringLiteral(" 展示作品の一覧を表示します "));
    syncTimer();
}

WorksPanelPlace TfVimora::worksPanel() const { return {PanelWorks->y(), PanelWorks->height(), PanelWorks->isVisible()}; }

void TfVimora::placeWorksPanel(const WorksPanelPlace& place) {
    PanelWorks->move(PanelWorks->x(), place.top);
    PanelWorks->setVisible(place.visible);
}

void TfVimora::centreWorkWindow() {
    if (!workWindow_) return;
    // Clear of the works panel when there is room, else simply centred.
    const int clearLeft = PanelWorks->isVisible() ? PanelWorks->geometry().right() + 10 : 0;
    const int room = PanelBase->width() - clearLeft;
    const int left = room >= workWindow_->width() ? clearLeft + (room - workWindow_->width()) / 2
                                                   : std::max(0, (PanelBase->width() - workWindow_->width()) / 2);
    const int top = std::max(0, (PanelBase->height() - workWindow_->height()) / 2);
    workWindow_->move(left, top);
}

void TfVimora::syncTimer() {
    if (state_->timerOn() && !TimerUpDown.isActive()) TimerUpDown.start();
    if (!state_->timerOn() && TimerUpDown.isActive()) TimerUpDown.stop();
}

void TfVimora::TimerUpDownTimer() {
    if (!laidOut_) {
        laidOut_ = true;
        layoutWorksList();
    }
    state_->tick();
    syncTimer();
}

// ---- GalleryStage ----

void TfVimora::announce(const QString& text, int textSize, bool onWork) {
    display_->setMessage(text, textSize);
    display_->setHost(onWork ? static_cast<QWidget*>(workWindow_.get()) : (geometry().top() > 0 ? this : nullptr));
    display_->showBoard();
}

void TfVimora::setDisplayText(const QString& text) { display_->setMessage(text); }

void TfVimora::hideDisplay() { display_->hide(); }

bool TfVimora::slideDisplay() { return display_->isVisible() && display_->slideTick(); }

bool TfVimora::loadWork(const CatalogEntry& entry) {
    TFormKesto& window = *workWindow_;
    window.runner().close();
    const WorkLocation where = Catalog::locateWork(*entry.source, *entry.group, *entry.work);
    if (!where.remote) settings_.workFolder = where.folder;
    if (!window.openWork(where.folder, where.fileName)) return false;
    window.setWindowTitle(entry.work->title);
    if (where.remote) addMessage(QStringLiteral("%1 の読込.").arg(Catalog::fetchedText(*entry.source, *entry.group, *entry.work)));
    addMessage(QStringLiteral("「%1」の展示.").arg(entry.work->title));
    centreWorkWindow();
    rowsChanged();
    return true;
}

void TfVimora::stopWorkTimers() { workWindow_->runner().close(); }

void TfVimora::markGroup(const acmdGroupInfo& group) {
    PanelGroup->setText(group.title);
    addMessage(QStringLiteral("作品グループを「%1」に設定.").arg(group.title));
}

void TfVimora::endProgram() {
    TimerUpDown.stop();
    QApplication::exit(0);
}

// ---- WorkHost ----

int TfVimora::stopFlag() const { return state_->stopFlag(); }

void TfVimora::setStopFlag(int flag) { state_->setStopFlag(flag); }

void TfVimora::runEnded(WorkRunner&) {
    state_->noteLastRow();
    rowsChanged();
}

void TfVimora::runToggled(WorkRunner&, bool) { rowsChanged(); }

void TfVimora::updateRunButton(bool) { rowsChanged(); }

// The palette's message list and viewing log come later; until then they go to standard error.
void TfVimora::addMessage(const QString& line) { std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData()); }

void TfVimora::logViewing(ViewingEvent event, const QString& caption) {
    addMessage(QStringLiteral("%1 %2").arg(event == ViewingEvent::Started ? QStringLiteral("鑑賞開始") : QStringLiteral("鑑賞終了"), caption));
}

void TfVimora::paintWindowFrame(uint32_t) { workWindow_->update(); }

void TfVimora::reposition() { centreWorkWindow(); }
