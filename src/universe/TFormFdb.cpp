#include "TFormFdb.h"

#include "FdbMetaBand.h"
#include "FdbModel.h"
#include "NodeText.h"
#include "TFormNebu.h"

#include "common/Choosers.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const char* const kBand = "background: #303048; color: white;";
constexpr int kWidths[DatabaseTable::kColumns - 1] = {56, 256, 48, 128, 160, 48, 56};
constexpr int kRowHeight = 22;

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
    resize(1100, 700);
}

TFormFdb::~TFormFdb() {
    model_->setTable(nullptr);
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
    QPushButton* close = button(topBand, QStringLiteral("閉じる"), QStringLiteral("ＮＤＢを閉じる"));
    for (QWidget* w : std::initializer_list<QWidget*>{btnExt, btnShortSize}) top->addWidget(w);
    top->addWidget(editFileWild, 1);
    top->addWidget(title);
    top->addWidget(close);

    editPath = new QLineEdit(this);
    editPath->setReadOnly(true);
    editPath->setStyleSheet(QStringLiteral("background: #000030; color: #ffff80;"));

    sgFileDB = new QTableView(this);
    model_ = new FdbModel(this);
    sgFileDB->setModel(model_);
    sgFileDB->setStyleSheet(QStringLiteral("QTableView { background: rgb(0,0,64); color: white; gridline-color: rgb(56,56,56);"
                                           " selection-background-color: rgb(0,255,208); selection-color: rgb(0,0,128); }"
                                           " QHeaderView::section { background: rgb(0,128,160); color: yellow; }"));
    sgFileDB->setSelectionMode(QAbstractItemView::SingleSelection);
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
    column->addWidget(sgFileDB, 1);
    column->addWidget(bottomBand);

    connect(close, &QPushButton::clicked, this, &QWidget::close);
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
    QAction* erase = popup.addAction(QStringLiteral("ファイルの削除 (&D)"));
    erase->setEnabled(false);
    erase->setToolTip(QStringLiteral("ＮＤＢからの削除はまだありません（NEBUの[星]の削除を使ってください）"));
    popup.setToolTipsVisible(true);
}

void TFormFdb::refreshDatabase(treeInfo& tree, const DatabaseLook& look) {
    metaBand_->tableChanging();
    model_->setTable(nullptr);
    tree_ = &tree;
    editPath->setText(QStringLiteral("　銀河〔") + tree.pathBuffer + QStringLiteral("〕"));
    table_ = std::make_unique<DatabaseTable>(tree, nullptr);
    if (!table_->refresh(look)) {
        table_.reset();
        close();
        return;
    }
    if (!editFileWild->text().isEmpty()) table_->setWildcard(editFileWild->text());
    model_->setTable(table_.get());
    if (table_->shownCount() > 0) sgFileDB->setCurrentIndex(model_->index(0, DbName));
    labelPosition->setText(positionText());
}

void TFormFdb::releaseDatabase() {
    metaBand_->tableChanging();
    model_->setTable(nullptr);
    table_.reset();
    tree_ = nullptr;
}

void TFormFdb::closeEvent(QCloseEvent* event) {
    releaseDatabase();
    QWidget::closeEvent(event);
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
    const int column = std::max(sgFileDB->currentIndex().column(), 0);
    const auto go = [&](std::size_t row) { sgFileDB->setCurrentIndex(model_->index(static_cast<int>(row), column)); };
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

void addDatabaseEntry(TFormNebu& nebu, QMenu* menu) {
    QAction* entry = menu->addAction(QStringLiteral("NDB (&D)"));
    QObject::connect(entry, &QAction::triggered, &nebu, [&nebu] {
        const auto look = [&nebu] {
            const NebuLook& l = nebu.grid()->look;
            return DatabaseLook{nebu.layout().view.viewFlags, l.formatOptions, l.nameLength};
        };
        auto* view = nebu.findChild<TFormFdb*>();
        if (!view) {
            view = new TFormFdb(&nebu);
            QObject::connect(&nebu, &TFormNebu::treeLaidOut, view, [&nebu, view, look] {
                if (view->isVisible()) view->refreshDatabase(nebu.model().tree(), look());
                else view->releaseDatabase();
            });
        }
        view->refreshDatabase(nebu.model().tree(), look());
        view->show();
        view->raise();
    });
}
