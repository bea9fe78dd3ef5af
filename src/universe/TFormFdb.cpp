#include "TFormFdb.h"

#include "FdbCellDelegate.h"
#include "FdbMetaBand.h"
#include "FdbModel.h"
#include "NodeText.h"
#include "TFormNebu.h"

#include "common/Choosers.h"
#include "common/TFormDoing.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const char* const kBand = "background: #303048; color: white;";
constexpr int kWidths[DatabaseTable::kColumns - 1] = {56, 256, 48, 128, 160, 48, 56};
constexpr int kRowHeight = 22;
constexpr int kTickMs = 100;
constexpr int kDefaultStep = 5; // a row step of 0 or less

// The progress box of a deletion batch on the view's TFormDoing: its text with the name being
// deleted, and the 中断 panel.
class DoingStarProgress : public StarProgress {
public:
    DoingStarProgress(TFormDoing& box, QWidget* host) : box_(box), host_(host) {}
    void begin(const QString& text) override {
        text_ = text;
        box_.showProgress(text, 1, host_);
    }
    void item(const QString& name) override { box_.messagePanel()->setText(text_ + QStringLiteral("  ") + name); }
    bool pressed() override { return box_.breakRequested(); }
    void end() override { box_.hide(); }

private:
    TFormDoing& box_;
    QWidget* host_;
    QString text_;
};

QPushButton* button(QWidget* parent, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TFormFdb::TFormFdb(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("HD宇宙データベース"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    TimerPosition.setInterval(kTickMs);
    connect(&TimerPosition, &QTimer::timeout, this, [this] {
        if (table_ && labelPosition->text() != positionText()) labelPosition->setText(positionText());
    });
    resize(1100, 700);
}

TFormFdb::~TFormFdb() {
    model_->setTable(nullptr);
    delegate_->setTable(nullptr);
}

void TFormFdb::buildControls() {
    auto* topBand = new QWidget(this);
    topBand->setStyleSheet(QString::fromLatin1(kBand));
    auto* top = new QHBoxLayout(topBand);
    top->setContentsMargins(4, 2, 4, 2);
    btnExt = button(topBand, QStringLiteral("EXT形式"), QStringLiteral("拡張子を分けて表示"));
    btnShortSize = button(topBand, QStringLiteral("TGMK形式"), QStringLiteral("サイズを短く表示"));
    editFileWild = new QLineEdit(topBand);
    editFileWild->setPlaceholderText(QStringLiteral("星名検索( *? )"));
    editFileWild->setMaxLength(259);
    editFileWild->setStyleSheet(QStringLiteral("background: white; color: black;"));
    auto* title = new QLabel(QStringLiteral("ＮＤＢ　　"), topBand);
    title->setStyleSheet(QStringLiteral("color: #80ff80; font-weight: bold;"));
    btnFloat = button(topBand, QStringLiteral("宙"), QStringLiteral("宙に飛び出す"));
    btnFloat->setEnabled(false);
    QPushButton* close = button(topBand, QStringLiteral("閉じる"), QStringLiteral("ＮＤＢを閉じる"));
    // The metadata panel floats over the band's right end, up to 90 pixels from the edge: the band
    // leaves it room and keeps its last two buttons within those pixels.
    top->setContentsMargins(4, 2, 2, 2);
    btnFloat->setFixedWidth(32);
    close->setFixedWidth(52);
    metaRoom_ = new QWidget(topBand);
    for (QWidget* w : std::initializer_list<QWidget*>{btnExt, btnShortSize}) top->addWidget(w);
    top->addWidget(editFileWild, 1);
    top->addWidget(title);
    top->addWidget(metaRoom_);
    top->addWidget(btnFloat);
    top->addWidget(close);

    editPath = new QLineEdit(this);
    editPath->setReadOnly(true);
    editPath->setStyleSheet(QStringLiteral("background: #000030; color: #ffff80;"));

    sgFileDB = new QTableView(this);
    model_ = new FdbModel(this);
    sgFileDB->setModel(model_);
    delegate_ = new FdbCellDelegate(sgFileDB);
    sgFileDB->setItemDelegate(delegate_);
    sgFileDB->setShowGrid(false); // the delegate draws the lines, grey under runs of equal values
    sgFileDB->setStyleSheet(QStringLiteral("QTableView { background: %1; color: white; }"
                                           " QHeaderView::section { background: %2; color: yellow; border: none;"
                                           " border-right: 1px solid %3; }")
                                .arg(FdbCellDelegate::kGround.name(), FdbCellDelegate::kHeaderGround.name(),
                                     FdbCellDelegate::kGridLine.name()));
    sgFileDB->setSelectionMode(QAbstractItemView::NoSelection);
    sgFileDB->installEventFilter(this);
    sgFileDB->setWordWrap(false);
    sgFileDB->verticalHeader()->hide();
    sgFileDB->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgFileDB->verticalHeader()->setDefaultSectionSize(kRowHeight);
    sgFileDB->horizontalHeader()->setStretchLastSection(true);
    sgFileDB->horizontalHeader()->setSectionsClickable(true);
    // The pixel widths suit a small font; the short columns must hold their texts in any font.
    const QString samples[DatabaseTable::kColumns - 1] = {QStringLiteral("000000 "), {}, QStringLiteral(" FB長 "), {},
                                                          {}, QStringLiteral(" A..R "), QStringLiteral(" 複製 ")};
    for (int c = 0; c < DatabaseTable::kColumns - 1; ++c)
        sgFileDB->setColumnWidth(c, std::max(kWidths[c], sgFileDB->fontMetrics().horizontalAdvance(samples[c]) + 12));
    sgFileDB->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* bottomBand = new QWidget(this);
    bottomBand->setStyleSheet(QString::fromLatin1(kBand));
    auto* bottom = new QHBoxLayout(bottomBand);
    bottom->setContentsMargins(4, 0, 4, 0);
    labelPosition = new QLabel(bottomBand);
    QPushButton* save = button(bottomBand, QStringLiteral("保存"), QStringLiteral("表示中の[星]をテキストで保存"));
    bottom->addWidget(labelPosition, 1);
    bottom->addWidget(save);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(topBand);
    column->addWidget(editPath);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(buildLeftBand());
    middle->addWidget(sgFileDB, 1);
    column->addLayout(middle, 1);
    column->addWidget(bottomBand);
    doing_ = new TFormDoing(sgFileDB);

    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(btnFloat, &QPushButton::clicked, this, &TFormFdb::toggleFloat);
    connect(save, &QPushButton::clicked, this, [this] { exportDatabase(); });
    connect(sgFileDB->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { sortColumn(c); });
    connect(editFileWild, &QLineEdit::editingFinished, this, [this] {
        if (!table_) return;
        table_->setWildcard(editFileWild->text());
        changed();
    });
    for (auto [b, option] : {std::pair{btnExt, int(FormatExtension)}, {btnShortSize, int(FormatShortSize)}})
        connect(b, &QPushButton::clicked, this, [this, option = option] {
            if (!table_) return;
            table_->setFormatOptions(table_->look().formatOptions ^ option);
            changed();
        });
    connect(sgFileDB, &QTableView::pressed, this, [this](const QModelIndex& index) {
        if (!table_ || !index.isValid()) return;
        const std::size_t previous = static_cast<std::size_t>(lastPressRow_);
        lastPressRow_ = index.row();
        lastPressColumn_ = index.column();
        const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
        if (mods & Qt::ControlModifier) table_->toggleMark(static_cast<std::size_t>(index.row()));
        else if (mods & Qt::ShiftModifier) table_->toggleMarks(previous, static_cast<std::size_t>(index.row()));
        else return labelPosition->setText(positionText());
        sgFileDB->viewport()->update();
        labelPosition->setText(positionText());
    });
    connect(sgFileDB, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = sgFileDB->indexAt(at);
        QMenu popup;
        fillPopup(popup, index.isValid() ? index.row() : -1, index.column());
        popup.exec(sgFileDB->viewport()->mapToGlobal(at));
    });
    metaBand_ = new FdbMetaBand(*this, *sgFileDB, [this] { return table_.get(); }, [this] { return tree_; });
    metaRoom_->setFixedWidth(metaBand_->width() + 4);
}

void TFormFdb::fillPopup(QMenu& popup, int row, int column) {
    if (!table_) return;
    const bool onRow = row >= 0 && static_cast<std::size_t>(row) < table_->shownCount();
    const auto r = static_cast<std::size_t>(std::max(row, 0));
    QMenu* narrow = popup.addMenu(QStringLiteral("絞り込み"));
    const auto add = [this](QMenu* menu, const QString& text, bool enabled, auto act) {
        QAction* a = menu->addAction(text, this, [this, act] {
            act();
            changed();
        });
        a->setEnabled(enabled);
    };
    add(narrow, QStringLiteral("同一値 (&S)"), onRow, [this, r, column] { table_->addSameValue(r, column); });
    add(narrow, QStringLiteral("同一ファイル名部 (&N)"), onRow, [this, r] { table_->addSameBase(r); });
    add(narrow, QStringLiteral("同一拡張子 (&E)"), onRow, [this, r] { table_->addSameExtension(r); });
    add(narrow, QStringLiteral("同フォルダ層 (&F)"), onRow, [this, r] { table_->addSameFolder(r); });
    const bool criteria = table_->criterionCount() > 0;
    add(narrow, QStringLiteral("解除１ (&I)"), criteria, [this] { table_->removeLastCriterion(); });
    add(narrow, QStringLiteral("解除＊ (&M)"), criteria, [this] { table_->removeAllCriteria(); });
    add(&popup, QStringLiteral("クローンの計算 (&C)"), true, [this] { table_->countClones(); });
    const bool cloneOnly = table_->cloneOnly();
    add(&popup, cloneOnly ? QStringLiteral("クローン表示解除") : QStringLiteral("クローンのみ表示 (&V)"), true,
        [this, cloneOnly] { table_->setCloneOnly(!cloneOnly); });
    add(&popup, QStringLiteral("全て選択 (&A)"), true, [this] { table_->setShownMarks(true); });
    add(&popup, QStringLiteral("全選択解除 (&R)"), true, [this] { table_->setShownMarks(false); });
    const bool noGalaxy = table_->look().formatOptions & DbFormatNoGalaxy;
    add(&popup, noGalaxy ? QStringLiteral("銀河の表示 (&F)") : QStringLiteral("銀河の非表示 (&F)"), true,
        [this] { table_->setFormatOptions(table_->look().formatOptions ^ DbFormatNoGalaxy); });
    QAction* erase = popup.addAction(QStringLiteral("ファイルの削除 (&D)"), this, &TFormFdb::deleteDbStars);
    const bool chart = tree_ && tree_->chartMode;
    erase->setEnabled(!chart && (onRow || table_->markedCount() > 0));
    if (chart) erase->setToolTip(QStringLiteral("星図のノードはファイルではありません"));
    popup.setToolTipsVisible(true);
}

void TFormFdb::refreshDatabase(treeInfo& tree, const DatabaseLook& look) {
    metaBand_->tableChanging();
    model_->setTable(nullptr);
    delegate_->setTable(nullptr);
    doing_->hide();
    tree_ = &tree;
    editPath->setText(QStringLiteral("　銀河〔") + tree.pathBuffer + QStringLiteral("〕"));
    table_ = std::make_unique<DatabaseTable>(tree, doing_);
    table_->onProgress = [this](const QString& text) { showProgressText(text); };
    if (!table_->refresh(look)) {
        table_.reset();
        close();
        return;
    }
    open_ = true;
    if (!editFileWild->text().isEmpty()) table_->setWildcard(editFileWild->text());
    model_->setTable(table_.get());
    delegate_->setTable(table_.get());
    if (table_->shownCount() > 0) sgFileDB->setCurrentIndex(model_->index(0, DbName));
    labelPosition->setText(positionText());
    TimerPosition.start();
}

void TFormFdb::showProgressText(const QString& text) {
    if (text.isEmpty()) {
        doing_->hide();
        return;
    }
    if (doing_->isVisible()) doing_->messagePanel()->setText(text);
    else doing_->showProgress(text, 1, sgFileDB);
    // Drawn now: the long loop that follows lets only the break panel's mouse through.
    doing_->repaint();
}

void TFormFdb::releaseDatabase() {
    metaBand_->tableChanging();
    model_->setTable(nullptr);
    delegate_->setTable(nullptr);
    table_.reset();
    tree_ = nullptr;
}

void TFormFdb::closeEvent(QCloseEvent* event) {
    TimerPosition.stop();
    doing_->hide();
    open_ = false;
    releaseDatabase();
    QWidget::closeEvent(event);
    // Opened again, the view covers the tree once more.
    if (isFloating() && dockHost_)
        QMetaObject::invokeMethod(
            this, [this] { if (!open_ && isFloating()) toggleFloat(); }, Qt::QueuedConnection);
}

void TFormFdb::deleteDbStars() {
    if (!table_ || !tree_ || tree_->chartMode) return;
    const std::size_t row = currentRow();
    const int column = std::max(sgFileDB->currentIndex().column(), 0);
    // The tree window's ticks could take over a finished scan under the batch.
    const bool nebuTicking = nebu_ && nebu_->timer().isActive();
    if (nebuTicking) nebu_->timer().stop();
    StarOperations ops(*tree_);
    DoingStarProgress box(*doing_, sgFileDB);
    ops.setProgress(&box);
    // The grid lets go of the rows while nodes leave the tree, as the batch lets paints through.
    metaBand_->tableChanging();
    model_->setTable(nullptr);
    delegate_->setTable(nullptr);
    const StarResult result = table_->deleteStars(ops, row);
    model_->setTable(table_.get());
    delegate_->setTable(table_.get());
    if (result.changed() && nebu_) {
        keepRows_ = true;
        nebu_->layoutTree(false);
        keepRows_ = false;
    }
    if (nebuTicking && nebu_) nebu_->timer().start();
    if (table_->shownCount() > 0)
        sgFileDB->setCurrentIndex(model_->index(static_cast<int>(std::min(row, table_->shownCount() - 1)), column));
    labelPosition->setText(positionText());
    sgFileDB->setFocus();
}

std::size_t TFormFdb::currentRow() const {
    const QModelIndex index = sgFileDB->currentIndex();
    return index.isValid() ? static_cast<std::size_t>(index.row()) : 0;
}

QString TFormFdb::positionText() const { return table_ ? table_->positionText(currentRow()) : QString(); }

void TFormFdb::changed() {
    const int column = std::max(sgFileDB->currentIndex().column(), 0);
    model_->changed();
    if (table_ && table_->shownCount() > 0) sgFileDB->setCurrentIndex(model_->index(0, column));
    labelPosition->setText(positionText());
    sgFileDB->setFocus();
}

void TFormFdb::sortColumn(int column) {
    if (!table_) return;
    table_->sortColumn(column);
    changed();
}

void TFormFdb::exportDatabase() {
    if (!table_ || !tree_) return;
    QString path;
    if (choosePath(QStringLiteral("*.txt"), QStringLiteral("ＮＤＢB保存[星]を選択してください"), path, this,
                   tree_->lastChooserFolder))
        table_->exportTo(path);
    sgFileDB->setFocus();
}

void TFormFdb::keyReleaseEvent(QKeyEvent* event) {
    if (!table_ || table_->shownCount() == 0) return QWidget::keyReleaseEvent(event);
    const std::size_t last = table_->shownCount() - 1;
    const auto go = [this](std::size_t row) { goToRow(row); };
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        table_->toggleMark(currentRow());
        go(std::min(currentRow() + 1, last));
        sgFileDB->viewport()->update();
        break;
    case Qt::Key_B: go(last); break;
    case Qt::Key_T: go(0); break;
    case Qt::Key_1: if (keypad) go(last); break;
    case Qt::Key_7: if (keypad) go(0); break;
    case Qt::Key_N: sortColumn(DbName); break;
    case Qt::Key_L: sortColumn(DbNameBytes); break;
    case Qt::Key_S: sortColumn(DbSize); break;
    case Qt::Key_D: sortColumn(DbTime); break;
    case Qt::Key_C: sortColumn(DbClones); break;
    case Qt::Key_F: sortColumn(DbGalaxy); break;
    default: return QWidget::keyReleaseEvent(event);
    }
    labelPosition->setText(positionText());
}

QWidget* TFormFdb::buildLeftBand() {
    auto* band = new QWidget(this);
    band->setStyleSheet(QString::fromLatin1(kBand));
    band->setFixedWidth(44);
    auto* column = new QVBoxLayout(band);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    const auto small = [band](const QString& text, const QString& tip) {
        QPushButton* b = button(band, text, tip);
        b->setFixedSize(38, 22);
        return b;
    };
    QPushButton* top = small(QStringLiteral("top"), QStringLiteral("先頭の行へ"));
    QPushButton* bottom = small(QStringLiteral("btm"), QStringLiteral("最後の行へ"));
    editMoveAdd = new QLineEdit(QStringLiteral("10"), band);
    editMoveAdd->setFixedWidth(38);
    editMoveAdd->setToolTip(QStringLiteral("▲▼で動く行数"));
    editMoveAdd->setStyleSheet(QStringLiteral("background: white; color: black;"));
    QPushButton* stepUp = small(QStringLiteral("▲"), QStringLiteral("行数だけ上へ"));
    QPushButton* stepDown = small(QStringLiteral("▼"), QStringLiteral("行数だけ下へ"));
    auto* starLabel = new QLabel(QStringLiteral("星"), band);
    starLabel->setAlignment(Qt::AlignCenter);
    QPushButton* runUp = small(QStringLiteral("▲"), QStringLiteral("前の同名[星]の並びへ"));
    QPushButton* runDown = small(QStringLiteral("▼"), QStringLiteral("次の同名[星]の並びへ"));
    auto* heightLabel = new QLabel(QStringLiteral("星間"), band);
    heightLabel->setAlignment(Qt::AlignCenter);
    UpdownLineHeight = new QSpinBox(band);
    UpdownLineHeight->setRange(4, 1000);
    UpdownLineHeight->setValue(kRowHeight);
    UpdownLineHeight->setFixedWidth(40);
    UpdownLineHeight->setToolTip(QStringLiteral("行の高さ"));
    UpdownLineHeight->setStyleSheet(QStringLiteral("background: white; color: black;"));
    for (QWidget* w : std::initializer_list<QWidget*>{top, bottom, editMoveAdd, stepUp, stepDown, starLabel, runUp, runDown,
                                                      heightLabel, UpdownLineHeight})
        column->addWidget(w);
    column->addStretch(1);

    connect(top, &QPushButton::clicked, this, [this] { goToRow(0); });
    connect(bottom, &QPushButton::clicked, this, [this] {
        if (table_ && table_->shownCount() > 0) goToRow(table_->shownCount() - 1);
    });
    connect(stepUp, &QPushButton::clicked, this, [this] { moveBy(-1); });
    connect(stepDown, &QPushButton::clicked, this, [this] { moveBy(1); });
    connect(runUp, &QPushButton::clicked, this, [this] {
        if (table_ && table_->shownCount() > 0) goToRow(table_->previousNameRun(currentRow()));
    });
    connect(runDown, &QPushButton::clicked, this, [this] {
        if (table_ && table_->shownCount() > 0) goToRow(table_->nextNameRun(currentRow()));
    });
    connect(UpdownLineHeight, &QSpinBox::valueChanged, this,
            [this](int height) { sgFileDB->verticalHeader()->setDefaultSectionSize(height); });
    return band;
}

void TFormFdb::goToRow(std::size_t row) {
    if (!table_ || table_->shownCount() == 0) return;
    row = std::min(row, table_->shownCount() - 1);
    const int column = std::max(sgFileDB->currentIndex().column(), 0);
    sgFileDB->setCurrentIndex(model_->index(static_cast<int>(row), column));
    sgFileDB->scrollTo(sgFileDB->currentIndex());
    labelPosition->setText(positionText());
    sgFileDB->setFocus();
}

void TFormFdb::moveBy(int sign) {
    if (!table_ || table_->shownCount() == 0) return;
    int step = editMoveAdd->text().trimmed().toInt();
    if (step <= 0) step = kDefaultStep;
    const auto row = static_cast<long long>(currentRow()) + sign * static_cast<long long>(step);
    goToRow(static_cast<std::size_t>(std::max(row, 0LL)));
}

bool TFormFdb::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sgFileDB && event->type() == QEvent::KeyPress && table_ && table_->shownCount() > 0) {
        // Shift with an arrow marks or unmarks the row being left.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && (key->modifiers() & Qt::ShiftModifier)) {
            table_->toggleMark(currentRow());
            sgFileDB->viewport()->update();
        }
    }
    // Only the plain widget pointers here: the tree window may be half destroyed.
    if (watched && (watched == dockHost_.data() || watched == dockTree_.data())) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::LayoutRequest:
            if (!isFloating()) placeDocked();
            break;
        case QEvent::Show:
            // A floating view hides with the tree window when that window floats or docks.
            if (watched == dockHost_.data() && open_ && !isVisible()) {
                if (!isFloating()) placeDocked();
                show();
            }
            break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFormFdb::placeDocked() {
    if (!dockHost_ || !dockTree_ || isFloating()) return;
    setGeometry(QRect(dockTree_->mapTo(dockHost_.data(), QPoint(0, 0)), dockTree_->size()));
    raise();
}

void TFormFdb::dressFloatButton() {
    const bool floating = isFloating();
    btnFloat->setText(floating ? QStringLiteral("戻") : QStringLiteral("宙"));
    btnFloat->setToolTip(floating ? QStringLiteral("「NEBU」に戻る") : QStringLiteral("宙に飛び出す"));
}

void TFormFdb::toggleFloat() {
    if (!nebu_) return;
    const bool shown = isVisible();
    const bool floating = !isFloating();
    setParent(nebu_, floating ? Qt::Window : Qt::Widget);
    setWindowTitle(QStringLiteral("HD宇宙データベース"));
    dressFloatButton();
    if (shown) show();
    // Placed after showing: a new native window may otherwise come up at a size of its own.
    if (floating) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(0, 0, 1280, 800);
        const int width = std::max(std::min(area.width() - 160, 1280), minimumSizeHint().width());
        const int height = width * area.height() / std::max(1, area.width());
        setGeometry(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2, width, height);
    } else {
        placeDocked();
    }
}

DatabaseLook TFormFdb::nebuLook() const {
    const NebuLook& l = nebu_->grid()->look;
    return DatabaseLook{nebu_->layout().view.viewFlags, l.formatOptions, l.nameLength};
}

void TFormFdb::attach(TFormNebu& nebu) {
    nebu_ = &nebu;
    dockHost_ = &nebu;
    dockTree_ = nebu.grid();
    setParent(&nebu, Qt::Widget);
    dressFloatButton();
    btnFloat->setEnabled(true);
    nebu.installEventFilter(this);
    nebu.grid()->installEventFilter(this);
    connect(&nebu, &TFormNebu::treeLaidOut, this, [this] {
        if (keepRows_) return; // a deletion already took its rows out
        if (open_) refreshDatabase(nebu_->model().tree(), nebuLook());
        else releaseDatabase();
    });
}

TFormFdb* TFormFdb::openDatabase(TFormNebu& nebu) {
    auto* view = nebu.findChild<TFormFdb*>();
    if (!view) {
        view = new TFormFdb(&nebu);
        view->attach(nebu);
    }
    view->refreshDatabase(nebu.model().tree(), view->nebuLook());
    if (!view->isOpen()) return view; // the rebuild failed and said so
    view->placeDocked();
    view->show();
    view->raise();
    view->sgFileDB->setFocus();
    return view;
}

void addDatabaseEntry(TFormNebu& nebu, QMenu* menu) {
    QAction* entry = menu->addAction(QStringLiteral("NDB (&D)"));
    QObject::connect(entry, &QAction::triggered, &nebu, [&nebu] { TFormFdb::openDatabase(nebu); });
}
