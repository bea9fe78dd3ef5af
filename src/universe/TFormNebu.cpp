#include "TFormNebu.h"

#include "ChartCommands.h"
#include "NebuCommands.h"
#include "NebuBandLayout.h"
#include "NebuFloatPanel.h"
#include "NebuMenuCommands.h"
#include "NebuMetaBand.h"
#include "NebuStarCommands.h"
#include "NebuStepper.h"
#include "NodeText.h"
#include "TFormLoad.h"

#include "common/ShowCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 50;
constexpr int kWildLength = 259;
constexpr int kKeyCommandStart = 11;
constexpr int kKeyCommandEvery = 6;
constexpr int kFloatCountEnd = 41;
const QString kCaption = QStringLiteral("メタ宇宙を美しく全貌する 《ＮＥＢＵ》");
const QString kBand = QStringLiteral("background: #203060; color: white; font-size: 11px;");

QSpinBox* spin(QWidget* parent, int from, int to, int step, int value, const QString& tip) {
    auto* box = new QSpinBox(parent);
    box->setRange(from, to);
    box->setSingleStep(step);
    box->setValue(value);
    box->setToolTip(tip);
    box->setMaximumWidth(60);
    return box;
}

QLabel* caption(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #c0d0ff;"));
    return label;
}

QPushButton* button(QWidget* parent, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    // As wide as the caption needs: the style's wide default would crowd a narrow band.
    b->setMinimumWidth(28);
    b->setMaximumWidth(qMax(28, b->fontMetrics().horizontalAdvance(text) + 20));
    return b;
}

// A caption and its box as one control, so that a band that wraps keeps them together.
QWidget* labelled(QWidget* band, const QString& text, QWidget* box) {
    auto* pair = new QWidget(band);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(caption(pair, text));
    row->addWidget(box);
    return pair;
}

} // namespace

TFormNebu::TFormNebu(const QString& path, const QString& workFolder, const QString& keyCommands, QWidget* dock)
    : QWidget(dock), workFolder_(workFolder), dock_(dock), keyCommands_(keyCommands), startPath_(path) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    setObjectName(QStringLiteral("TFormNebu"));
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("TFormNebu { background: #203060; }"));
    installModel(std::make_unique<UniverseModel>(path, workFolder));
    buildControls();
    TimerNebu.setInterval(kTickMs);
    connect(&TimerNebu, &QTimer::timeout, this, &TFormNebu::timerTick);
    if (dock_) {
        dock_->installEventFilter(this);
        fillDock();
        dressFloatPanel();
    } else {
        toggleFloat();
    }
}

TFormNebu::~TFormNebu() {
    commands_->releaseHelp(); // the program's help viewer is not the window's to free
    job_.reset(); // breaks and waits before the model goes
    sgNebu->setModel(nullptr, nullptr); // the grid outlives the model by a little
}

void TFormNebu::installModel(std::unique_ptr<UniverseModel> model) {
    model_ = std::move(model);
    treeInfo& tree = model_->tree();
    tree.topGalaxy = tree.root();
    tree.current = tree.root();
    layout_ = std::make_unique<NebuLayout>(tree);
    layout_->view = view_;
    layout_->upsideDown = upsideDown_;
    cursor_ = std::make_unique<NebuCursor>(*layout_);
    layout_->relayout();
    cursor_->setCurrent(tree.root());
    if (sgNebu) sgNebu->setModel(layout_.get(), cursor_.get());
    emit treeLaidOut();
}

void TFormNebu::buildControls() {
    // Top band: drive, depths, row settings, title, zoom, wildcards, star button, view flags, 宙.
    auto* topBand = new QWidget(this);
    topBand->setStyleSheet(kBand);
    auto* top = new NebuBandLayout(topBand, 52);
    CbDrive = new QComboBox(topBand);
    CbDrive->addItems(UniverseModel::driveList());
    CbDrive->setToolTip(QStringLiteral("小宇宙（ドライブ）の選択"));
    CbDrive->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CbDrive->setMinimumContentsLength(6); // a long mount point shows in the list, not in the band
    CbDeepMax = new QComboBox(topBand);
    CbDeepMax->setToolTip(QStringLiteral("探査階層"));
    fillDepthList();
    btnFullDepth = button(topBand, QStringLiteral("≫"), QStringLiteral(" 表示階層を検索階層と同じに "));
    editDeepDisp = spin(topBand, 1, 64, 1, 2, QStringLiteral("表示階層"));
    editFileWide = spin(topBand, 1, 64, 1, 1, QStringLiteral("横並数"));
    editDeepIndent = spin(topBand, 2, 200, 2, 24, QStringLiteral("階層深幅"));
    editFileLen = spin(topBand, 4, 252, 4, 24, QStringLiteral("星名長"));
    editZoom = spin(topBand, 20, 1000, 5, 100, QStringLiteral("ズーム"));
    editDirWild = new QLineEdit(topBand);
    editDirWild->setPlaceholderText(QStringLiteral("銀河名検索"));
    editFileWild = new QLineEdit(topBand);
    editFileWild->setPlaceholderText(QStringLiteral("星名検索( *? )"));
    for (QLineEdit* e : {editDirWild, editFileWild}) {
        e->setMaxLength(kWildLength);
        e->setMinimumWidth(72);
        e->setStyleSheet(QStringLiteral("background: white; color: black;"));
    }
    btnStars = button(topBand, QStringLiteral("星"), QStringLiteral("　[星]の表示・非表示切り替え　"));
    cbAttributes = new QCheckBox(QStringLiteral("属性"), topBand);
    cbTime = new QCheckBox(QStringLiteral("日　時"), topBand);
    cbSize = new QCheckBox(QStringLiteral("サイズ"), topBand);
    cbAttributes->setToolTip(QStringLiteral("　[星]の属性（サイズ・日時などの全て)表示切り替え　"));
    cbTime->setToolTip(QStringLiteral("　[星]の属性（日時のみ）表示切り替え　"));
    cbSize->setToolTip(QStringLiteral("　[星]の属性（サイズ）表示切り替え　"));
    PanelFree = new QLabel(QStringLiteral("宙"), topBand);
    PanelFree->setAlignment(Qt::AlignCenter);
    PanelFree->installEventFilter(this);
    auto* title = new QLabel(QStringLiteral("NEBU"), topBand);
    title->setStyleSheet(QStringLiteral("color: #80ff80; font-weight: bold;"));
    top->addWidget(CbDrive);
    top->addWidget(CbDeepMax);
    top->addWidget(btnFullDepth);
    for (auto [label, box] : {std::pair{QStringLiteral("表示階層"), editDeepDisp}, {QStringLiteral("横並数"), editFileWide},
                              {QStringLiteral("階層深幅"), editDeepIndent}, {QStringLiteral("星名長"), editFileLen}}) {
        top->addWidget(labelled(topBand, label, box));
    }
    top->addWidget(title);
    top->addWidget(labelled(topBand, QStringLiteral("ズーム"), editZoom));
    top->addWidget(editDirWild, 1);
    top->addWidget(editFileWild, 1);
    top->addWidget(btnStars);
    clones_ = std::make_unique<NebuCloneCommands>(*this, topBand);
    top->addWidget(clones_->panel());
    top->addWidget(cbAttributes);
    top->addWidget(cbTime);
    top->addWidget(cbSize);
    top->addWidget(PanelFree);

    // Menu band: load, save, the path field and the chart list.
    auto* menuBand = new QWidget(this);
    menuBand->setStyleSheet(kBand);
    auto* menu = new NebuBandLayout(menuBand, 36);
    QPushButton* load = button(menuBand, QStringLiteral("L"), QStringLiteral("　星座データの読み込み　"));
    QPushButton* save = button(menuBand, QStringLiteral("S"), QStringLiteral("　星座データの保存　"));
    QPushButton* rescan = button(menuBand, QStringLiteral("探査銀河"), QStringLiteral("　検索する小宇宙・銀河の更新　"));
    rescan->setFixedWidth(rescan->fontMetrics().horizontalAdvance(rescan->text()) + 16);
    load->setFixedWidth(32);
    save->setFixedWidth(32);
    editPath = new QLineEdit(menuBand);
    editPath->setReadOnly(true);
    editPath->setStyleSheet(QStringLiteral("background: #000030; color: #ffff80;"));
    editPath->setMinimumWidth(100);
    charts_ = new ChartCommands(*this, menuBand);
    QPushButton* quit = button(menuBand, QStringLiteral("終了"), QStringLiteral("終了 (&Q)"));
    for (QWidget* w : std::initializer_list<QWidget*>{load, save, rescan}) menu->addWidget(w);
    menu->addWidget(editPath, 1);
    menu->addWidget(charts_->list());
    menu->addWidget(quit);
    connect(quit, &QPushButton::clicked, this, &TFormNebu::quit);

    // Left band: navigation.
    auto* leftBand = new QWidget(this);
    leftBand->setFixedWidth(36);
    leftBand->setStyleSheet(kBand + QStringLiteral("QPushButton { padding: 1px; }"));
    auto* left = new QVBoxLayout(leftBand);
    left->setContentsMargins(2, 2, 2, 2);
    left->setSpacing(2);
    btnUp = button(leftBand, QStringLiteral("U"), QStringLiteral("　上の階層に移動（頂上は再検索）　"));
    btnTop = button(leftBand, QStringLiteral("top"), QStringLiteral("　銀河の先頭へ　"));
    btnScrollUp = button(leftBand, QStringLiteral("▲"), QStringLiteral("　上方への自動スクロール加速　"));
    btnScrollStop = button(leftBand, QStringLiteral("■"), QStringLiteral("　上方への自動スクロール停止　"));
    btnScrollDown = button(leftBand, QStringLiteral("▼"), QStringLiteral("　下方への自動スクロール加速　"));
    btnBottom = button(leftBand, QStringLiteral("btm"), QStringLiteral("　星座の末尾へ　"));
    editMoveAdd = spin(leftBand, -999, 9999, 1, 10, QStringLiteral("行移動数"));
    editMoveAdd->setButtonSymbols(QAbstractSpinBox::NoButtons);
    editMoveAdd->setToolTip(QStringLiteral("　指定行ずつの行移動　"));
    UpdownMove = new NebuStepper(QStringLiteral("　指定行ずつの行移動　"), leftBand);
    UpdownGalaxy = new NebuStepper(QStringLiteral("　同階層の次の銀河へ移動　"), leftBand);
    UpdownLineHeight = new NebuStepper(QStringLiteral("行間を拡縮します"), leftBand);
    UpdownLineHeight->setRange(4, 1000, 18);
    labelLineHeight = caption(leftBand, QString());
    labelLineHeight->setAlignment(Qt::AlignCenter);
    for (QWidget* w : std::initializer_list<QWidget*>{btnUp, btnTop, btnScrollUp, btnScrollStop, btnScrollDown, btnBottom,
                                                      editMoveAdd, UpdownMove, caption(leftBand, QStringLiteral("銀河")),
                                                      UpdownGalaxy, labelLineHeight, UpdownLineHeight})
        left->addWidget(w, 0, Qt::AlignHCenter);
    left->addStretch(1);

    sgNebu = new NebuGrid(this);
    formLoad_ = new TFormLoad(sgNebu);
    TFormMesg = new QLabel(QStringLiteral("始めに、「宙」クリックで、キャンバスから出してください。\n"
                                          "終わりは、「戻」クリックで、キャンバスに戻してください"),
                           sgNebu->viewport());
    TFormMesg->setObjectName(QStringLiteral("TFormMesg"));
    TFormMesg->setStyleSheet(QStringLiteral("background: rgb(255,255,224); color: black; border: 2px solid rgb(0,128,192); padding: 6px;"));
    TFormMesg->adjustSize();
    TFormMesg->hide();
    keyBox_ = new QLabel(this);
    keyBox_->setObjectName(QStringLiteral("TFormDoing"));
    keyBox_->setStyleSheet(QStringLiteral("background: rgb(240,240,240); color: rgb(0,0,128); border: 1px solid gray;"));
    keyBox_->setAlignment(Qt::AlignCenter);
    keyBox_->setToolTip(QStringLiteral("クリックでキーコマンドを中止"));
    keyBox_->installEventFilter(this);
    keyBox_->hide();
    formLoad_->onBreakPressed = [this] {
        if (job_) job_->requestBreak();
    };

    auto* bottomBand = new QWidget(this);
    bottomBand->setFixedHeight(24);
    bottomBand->setStyleSheet(kBand);
    auto* bottom = new QHBoxLayout(bottomBand);
    bottom->setContentsMargins(4, 0, 4, 0);
    labelPosition = new QLabel(bottomBand);
    labelCounters = new QLabel(bottomBand);
    labelSeconds = new QLabel(bottomBand);
    labelBusy = new QLabel(QStringLiteral(" 探査中 "), bottomBand);
    labelBusy->setStyleSheet(QStringLiteral("background: rgb(255,208,128); color: black;"));
    labelBusy->setToolTip(QStringLiteral("探査・読込の実行中"));
    labelBusy->hide();
    bottom->addWidget(labelPosition);
    bottom->addWidget(labelBusy);
    bottom->addWidget(labelCounters, 1);
    bottom->addWidget(labelSeconds);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(leftBand);
    middle->addWidget(sgNebu, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(topBand);
    column->addWidget(menuBand);
    column->addLayout(middle, 1);
    column->addWidget(bottomBand);

    sgNebu->setModel(layout_.get(), cursor_.get());
    sgNebu->onKey = [this](QKeyEvent* e) { handleKey(e->key(), e->modifiers(), e->text()); };
    sgNebu->onCursorMoved = [this] { afterMove(); };
    sgNebu->onRescanFrom = [this](fileInfo* galaxy) { commands_->rescanFrom(galaxy); };
    starCommands_ = new NebuStarCommands(*this);
    menus_ = new NebuMenuCommands(*this);
    commands_ = new NebuCommands(*this);
    column->setMenuBar(commands_->buildMainMenu(this)); // above the bands, as a window's main menu
    sgNebu->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgNebu, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu popup;
        commands_->fillPopup(popup);
        popup.exec(sgNebu->viewport()->mapToGlobal(at));
    });

    auto key = [this](NebuKey k, int mods = 0) { return [this, k, mods] { applyOutcome(cursor_->key(k, mods)); }; };
    connect(btnUp, &QPushButton::clicked, this, key(NebuKey::Parent));
    connect(btnTop, &QPushButton::clicked, this, key(NebuKey::Top));
    connect(btnBottom, &QPushButton::clicked, this, key(NebuKey::Bottom));
    connect(btnScrollUp, &QPushButton::clicked, this, key(NebuKey::FasterUp));
    connect(btnScrollStop, &QPushButton::clicked, this, key(NebuKey::StopScroll));
    connect(btnScrollDown, &QPushButton::clicked, this, key(NebuKey::FasterDown));
    connect(btnFullDepth, &QPushButton::clicked, this, key(NebuKey::FullDisplay));
    connect(btnStars, &QPushButton::clicked, this, key(NebuKey::StarsToggle));
    // The arrows point the way the cursor goes on the grid.
    UpdownGalaxy->onStep = [this](int direction) { applyOutcome(cursor_->galaxyStep(direction < 0)); };
    UpdownMove->onStep = [this](int direction) {
        cursor_->rowStep(editMoveAdd->value(), direction < 0);
        afterMove();
    };
    UpdownLineHeight->onStep = [this](int) { settingChanged(); };
    connect(load, &QPushButton::clicked, this, &TFormNebu::loadFromChooser);
    connect(save, &QPushButton::clicked, this, [this] {
        model_->saveConstellation();
        sgNebu->setFocus();
    });
    connect(rescan, &QPushButton::clicked, this, [this] { commands_->chooseGalaxy(); });
    connect(CbDrive, &QComboBox::textActivated, this, [this](const QString& text) {
        if (text.size() > 1) openPath(text.mid(1));
    });
    connect(CbDeepMax, &QComboBox::activated, this, [this](int index) {
        model_->tree().searchDepth = index == 0 ? 999 : index;
        openPath(model_->tree().pathBuffer);
    });
    for (QSpinBox* box : {editDeepDisp, editFileWide, editDeepIndent, editFileLen, editZoom})
        connect(box, &QSpinBox::valueChanged, this, &TFormNebu::settingChanged);
    // サイズ and 日　時 flip their own bit, 属性 all three; the boxes then show the bits.
    connect(cbSize, &QCheckBox::clicked, this, [this] { flipViewBits(ViewSize); });
    connect(cbTime, &QCheckBox::clicked, this, [this] { flipViewBits(ViewTime); });
    connect(cbAttributes, &QCheckBox::clicked, this, [this] { flipViewBits(ViewSize | ViewTime | ViewAttributes); });
    for (QLineEdit* e : {editDirWild, editFileWild}) {
        connect(e, &QLineEdit::editingFinished, this, &TFormNebu::settingChanged);
        connect(e, &QLineEdit::textChanged, this, [e] {
            e->setStyleSheet(e->text().isEmpty() ? QStringLiteral("background: white; color: black;")
                                                 : QStringLiteral("background: rgb(255,208,128); color: black;"));
        });
        connect(e, &QLineEdit::returnPressed, sgNebu, qOverload<>(&QWidget::setFocus));
    }
    metaBand_ = new NebuMetaBand(*this, menuBand);
    menu->insertWidget(menu->indexOf(charts_->list()) + 1, metaBand_);
    afterMove();
}

void TFormNebu::fillDepthList() {
    const int levels = qMax(model_->tree().deepestLevel + 2, 10);
    settingControls_ = true;
    CbDeepMax->clear();
    CbDeepMax->addItem(QStringLiteral(" 全て"));
    for (int i = 1; i <= levels; ++i) CbDeepMax->addItem(QStringLiteral("%1").arg(i, 4));
    const int depth = model_->tree().searchDepth;
    CbDeepMax->setCurrentIndex(depth >= 999 || depth > levels ? 0 : depth);
    settingControls_ = false;
}

void TFormNebu::flipViewBits(int bits) {
    const int flags = sgNebu->look.viewFlags ^ bits;
    settingControls_ = true;
    cbSize->setChecked(flags & ViewSize);
    cbTime->setChecked(flags & ViewTime);
    cbAttributes->setChecked(flags & ViewAttributes);
    settingControls_ = false;
    settingChanged();
}

void TFormNebu::settingChanged() {
    if (settingControls_) return;
    treeInfo& tree = model_->tree();
    NebuLook& look = sgNebu->look;
    look.indent = editDeepIndent->value();
    look.nameLength = editFileLen->value();
    look.zoom = editZoom->value();
    look.lineHeight = UpdownLineHeight->value();
    look.viewFlags = (cbSize->isChecked() ? ViewSize : 0) | (cbTime->isChecked() ? ViewTime : 0) |
                     (cbAttributes->isChecked() ? ViewAttributes : 0) | (look.viewFlags & (ViewClones | ViewClonesInverted));
    TreeView& view = layout_->view;
    const int depth = qMin(editDeepDisp->value(), qMin(tree.searchDepth, 64));
    const bool relayout = depth != tree.displayDepth || view.starsPerRow != editFileWide->value() ||
                          view.galaxyWild != editDirWild->text() || view.starWild != editFileWild->text();
    tree.displayDepth = depth;
    view.starsPerRow = editFileWide->value();
    view.galaxyWild = editDirWild->text();
    view.starWild = editFileWild->text();
    if (relayout) layoutTree(false);
    afterMove();
}

void TFormNebu::layoutTree(bool full) {
    cursor_->relayoutKeeping(cursor_->current());
    if (full) {
        fillDepthList(); // an edit may have taken the tree deeper
        sgNebu->hideHorizontalBand();
        layout_->sprinkle(sgNebu->viewport()->width());
        sgNebu->setFocus();
    }
    afterMove();
    emit treeLaidOut();
}

void TFormNebu::applyOutcome(NebuOutcome outcome) {
    if (outcome == NebuOutcome::RescanParent) {
        commands_->rescanParent();
        return;
    }
    if (outcome == NebuOutcome::Relaid) layout_->sprinkle(sgNebu->viewport()->width());
    afterMove();
}

void TFormNebu::afterMove() {
    treeInfo& tree = model_->tree();
    view_ = layout_->view;
    upsideDown_ = layout_->upsideDown;
    settingControls_ = true;
    editDeepDisp->setValue(tree.displayDepth);
    settingControls_ = false;
    editPath->setText(cursor_->path());
    labelLineHeight->setText(QStringLiteral("星間\n%1").arg(UpdownLineHeight->value()));
    labelPosition->setText(cursor_->positionText());
    labelCounters->setText(layout_->countersText());
    const bool scrolled = cursor_->topRow() > 0;
    const int last = layout_->rowCount() - 1;
    btnTop->setEnabled(scrolled || cursor_->gridRow() != 0);
    btnBottom->setEnabled(cursor_->gridRow() != last);
    btnScrollStop->setEnabled(cursor_->speed() != 0);
    btnScrollUp->setEnabled(scrolled);
    btnScrollDown->setEnabled(cursor_->gridRow() < last);
    btnFullDepth->setEnabled(tree.displayDepth != tree.searchDepth);
    btnUp->setEnabled(cursor_->path().size() > 3);
    if (metaBand_) {
        metaBand_->meta().currentChanged();
        if (metaBand_->meta().tour().running())
            for (QPushButton* b : {btnTop, btnBottom, btnScrollStop, btnScrollUp, btnScrollDown}) b->setEnabled(true);
    }
    const bool hidden = !layout_->view.starsShown;
    btnStars->setStyleSheet(hidden ? QStringLiteral("background: rgb(255,64,64);") : QString());
    sgNebu->refresh();
}

void TFormNebu::openPath(const QString& path) {
    if (job_) return;
    job_ = std::make_unique<NebuOpenJob>(path, workFolder_, model_->tree().searchDepth);
    formLoad_->showProgress(!job_->isRead());
    setBusy(true);
}

void TFormNebu::loadFromChooser() {
    if (!job_ && model_->loadConstellation(true)) finishOpen();
    sgNebu->setFocus();
}

void TFormNebu::setBusy(bool busy) {
    labelBusy->setVisible(busy);
    if (busy) sgNebu->viewport()->setCursor(Qt::BusyCursor);
    else sgNebu->viewport()->unsetCursor();
}

void TFormNebu::waitForOpen() {
    if (!job_) return;
    job_->wait();
    timerTick();
}

void TFormNebu::finishOpen() {
    treeInfo& tree = model_->tree();
    if (tree.displayDepth > tree.searchDepth) tree.displayDepth = tree.searchDepth;
    tree.topGalaxy = tree.root();
    tree.current = tree.root();
    fillDepthList();
    // The drive box shows the opened universe's drive, listed or not.
    const int drive = CbDrive->findText(tree.driveText);
    if (drive < 0) CbDrive->insertItem(0, tree.driveText);
    CbDrive->setCurrentIndex(drive < 0 ? 0 : drive);
    clones_->treeReplaced();
    cursor_->relayoutToTop();
    sgNebu->hideHorizontalBand();
    layout_->sprinkle(sgNebu->viewport()->width());
    afterMove();
    sgNebu->setFocus();
}

void TFormNebu::timerTick() {
    ++ticks_;
    // The hint is for a window docked in a work, which the user is to float out and back.
    if (ticks_ == 20 && dock_ && !isFloating()) {
        TFormMesg->move(qMax(0, (sgNebu->viewport()->width() - TFormMesg->width()) / 2),
                        qMax(0, (sgNebu->viewport()->height() - TFormMesg->height()) / 3));
        TFormMesg->show();
        TFormMesg->raise();
    } else if (ticks_ > 100 && TFormMesg->isVisible()) {
        TFormMesg->hide();
    }
    if (job_) {
        const NebuOpenJob::Progress progress = job_->progress();
        formLoad_->setCounterText(progress.counter);
        if (progress.stopping.isEmpty()) formLoad_->setPathText(progress.path);
        else formLoad_->showStopping(progress.stopping);
        if (job_->finished()) {
            std::unique_ptr<NebuOpenJob> job = std::move(job_);
            formLoad_->hideProgress();
            setBusy(false);
            if (job->result() >= 0 || job->isRead()) {
                std::unique_ptr<UniverseModel> model = job->takeModel();
                if (model->tree().nodeCount() > 0 || job->result() > 0) {
                    model->tree().searchDepth = qMax(1, model->tree().searchDepth);
                    installModel(std::move(model));
                    finishOpen();
                }
            }
            for (const RecordingCheckSink::Record& r : job->messages()) showCheck(r.text, r.caption, r.style);
        }
    }
    // Float requests from the animation.
    if (floatState_ == 2) {
        floatState_ = 0;
        toggleMetaTour();
    } else if (floatState_ == 1) {
        toggleFloat();
        floatState_ = 2;
    } else if (floatState_ >= 3 && floatState_ < kFloatCountEnd) {
        ++floatState_;
        return;
    } else if (floatState_ >= kFloatCountEnd) {
        toggleFloat();
        floatState_ = 0;
        animationBusy_ = false;
        emit animationReleased();
        return;
    }
    if (ticks_ % 20 == 0) labelSeconds->setText(QStringLiteral(" %1").arg(ticks_ / 20, 3, 10, QChar(u'0')));
    if (cursor_->autoScrollTick()) {
        cursor_->followView();
        afterMove();
    } else if (cursor_->followView()) {
        afterMove(); // a wheel or the scroll bar left the cursor's row out of view
    }
    metaBand_->meta().tick();
    sgNebu->followCurrent();
    if (ticks_ >= kKeyCommandStart && ticks_ % kKeyCommandEvery == 0) playKeyCommand();
}

void TFormNebu::placeKeyBox() {
    keyBox_->setGeometry(qMax(0, (width() - 420) / 2), 0, 420, 24);
    keyBox_->raise();
}

void TFormNebu::stopKeyCommands() {
    keyCommands_.clear();
    keyBox_->hide();
}

void TFormNebu::playKeyCommand() {
    const std::optional<PlayedKey> played = takePlayedKey(keyCommands_);
    if (!played) return;
    const Qt::KeyboardModifiers mods = played->modifiers;
    keyBox_->setText(QStringLiteral("キーコマンドー実行中.......  [ %1%2%3%4 ]")
                         .arg(mods & Qt::ShiftModifier ? QStringLiteral("Shift+") : QString(),
                              mods & Qt::ControlModifier ? QStringLiteral("Ctrl+") : QString(),
                              mods & Qt::AltModifier ? QStringLiteral("Alt+") : QString(), QString(played->character)));
    placeKeyBox();
    keyBox_->show();
    if (keyCommands_.isEmpty()) QTimer::singleShot(600, keyBox_, &QWidget::hide); // the last key stays readable a moment
    commands_->run(playedKeyAction(*played)); // the keyboard's own table
}

bool TFormNebu::handleKey(int key, Qt::KeyboardModifiers modifiers, const QString&) {
    return commands_->runKey(key, modifiers);
}

void TFormNebu::setWildcard(bool galaxy, const QString& text) {
    (galaxy ? editDirWild : editFileWild)->setText(text.left(kWildLength));
    settingChanged();
    sgNebu->setFocus();
}

void TFormNebu::setJourneyEntry(std::function<void()> open) {
    openJourney_ = std::move(open);
    commands_->refreshEntries();
}

void TFormNebu::toggleMetaHover() { metaBand_->toggleHover(); }
void TFormNebu::toggleMetaTour() { metaBand_->toggleTour(); }
void TFormNebu::editMetadata() { metaBand_->editMetadata(); }

QString TFormNebu::countersText() const { return labelCounters->text(); }
QString TFormNebu::positionText() const { return labelPosition->text(); }

void TFormNebu::fillDock() {
    if (dock_ && !isFloating()) setGeometry(QRect(QPoint(0, 0), dock_->size()));
}

void TFormNebu::dressFloatPanel() {
    const FloatPanelLook look = floatPanelLook(isFloating(), journeyLook_);
    PanelFree->setText(look.caption);
    PanelFree->setToolTip(look.tip);
    PanelFree->setFixedSize(look.side, look.side);
    PanelFree->setStyleSheet(QStringLiteral("font-size: %1px; color: #%2; background: #%3;")
                                 .arg(look.fontPixels)
                                 .arg(look.text, 6, 16, QChar(u'0'))
                                 .arg(look.background, 6, 16, QChar(u'0')));
}

void TFormNebu::setJourneyLook() {
    journeyLook_ = true;
    dressFloatPanel();
}

void TFormNebu::toggleFloat() {
    if (!isFloating() || !dock_) {
        const bool wasShown = isVisible() || !dock_;
        setParent(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
        const QRect screen = (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1280, 800));
        const int width = qMin(screen.width() - 160, 1280);
        const int height = width * screen.height() / qMax(1, screen.width());
        setGeometry(screen.x() + (screen.width() - width) / 2, screen.y() + (screen.height() - height) / 2, width, height);
        dressFloatPanel();
        TFormMesg->hide();
        if (wasShown) show();
    } else {
        commands_->releaseHelp();
        setParent(dock_, Qt::Widget);
        dressFloatPanel();
        TFormMesg->hide();
        show();
        fillDock();
    }
    if (keyBox_->isVisible()) placeKeyBox();
    setWindowTitle(kCaption);
}

void TFormNebu::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    TimerNebu.start();
    if (firstShown_) return;
    firstShown_ = true;
    layout_->sprinkle(sgNebu->viewport()->width());
    if (!keyCommands_.isEmpty()) {
        keyBox_->setText(QStringLiteral("キーコマンドー実行中......."));
        placeKeyBox();
        keyBox_->show();
    }
    openPath(startPath_);
}

void TFormNebu::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    TimerNebu.stop(); // runs only while the window is shown
}

void TFormNebu::quit() {
    quitting_ = true;
    close();
}

void TFormNebu::closeEvent(QCloseEvent* event) {
    // The title bar of a floating window has no way out of the work: it goes back to its panel
    // with everything it holds.
    if (!quitting_ && isFloating() && dock_) {
        event->ignore();
        // Not inside the close event: docking drops the native window that is delivering it.
        QMetaObject::invokeMethod(this, [this] { if (isFloating()) toggleFloat(); }, Qt::QueuedConnection);
        return;
    }
    TimerNebu.stop();
    job_.reset();
    metaBand_->windowClosing();
    if (model_->tree().metaChanged &&
        showCheck(QStringLiteral("メタデータを保存しますか？(Y/N)"), QStringLiteral("[星]のメタデータ保存"), 1) == 1)
        model_->saveConstellation();
    event->accept();
}

bool TFormNebu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dock_ && event->type() == QEvent::Resize) fillDock();
    if (watched == keyBox_ && event->type() == QEvent::MouseButtonPress) {
        stopKeyCommands();
        return true;
    }
    if (watched == PanelFree && event->type() == QEvent::MouseButtonPress) {
        toggleFloat();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
