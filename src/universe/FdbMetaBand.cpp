#include "FdbMetaBand.h"

#include "ChartEdits.h"
#include "DatabaseTable.h"
#include "NebuMeta.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>

namespace {

const MetaPlacement kDatabasePlacement{32, 10, 40};
constexpr int kBandWidth = 520, kBandHeight = 30;
constexpr int kPageInset = 40;  // a tour's or a press's page opens this far left of the name column's right edge
constexpr int kHoverBand = 32;  // mouse-over reaches this far right of a name's end

} // namespace

FdbMetaBand::FdbMetaBand(QWidget& view, QTableView& grid, std::function<DatabaseTable*()> table, std::function<treeInfo*()> tree)
    : QWidget(&view), view_(view), grid_(grid), table_(std::move(table)), tree_(std::move(tree)) {
    setObjectName(QStringLiteral("PanelMetaMsg"));
    build();
    TimerNDB.setInterval(kTickMs);
    connect(&TimerNDB, &QTimer::timeout, this, &FdbMetaBand::timerTick);
    viewport_ = grid_.viewport();
    viewport_->setMouseTracking(true);
    viewport_->installEventFilter(this);
    view_.installEventFilter(this);
    auto scrolled = [this] {
        if (!opening_ && page_) closeMetaPage();
    };
    connect(grid_.verticalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
    connect(grid_.horizontalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
}

FdbMetaBand::~FdbMetaBand() {
    // The view is going; its grid may be gone already.
    if (viewport_) viewport_->removeEventFilter(this);
    view_.removeEventFilter(this);
    if (page_) {
        page_->endProcess();
        delete page_.data();
    }
}

void FdbMetaBand::build() {
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#PanelMetaMsg { background: rgb(0,0,80); }"));
    ui_ = MetaBandControls::build(*this, 24, QMargins(3, 3, 3, 3), view_);
    // The band floats over the view and moves where its signal panel is dragged.
    ui_.PanelSignal->setToolTip(QStringLiteral("　ドラッグで移動　"));
    ui_.PanelSignal->setCursor(Qt::SizeAllCursor);
    ui_.PanelTm->setText(tour_.speedText());
    for (QLabel* l : {ui_.PanelSignal, ui_.PanelMus, ui_.PanelTour}) l->installEventFilter(this);
    connect(ui_.btnSlower, &QPushButton::clicked, this, [this] {
        tour_.slower();
        ui_.PanelTm->setText(tour_.speedText());
    });
    connect(ui_.btnFaster, &QPushButton::clicked, this, [this] {
        tour_.faster();
        ui_.PanelTm->setText(tour_.speedText());
    });
    connect(ui_.btnStop, &QPushButton::clicked, this, [this] {
        if (tour_.running()) tour_.stop(*this);
    });
    resize(kBandWidth, kBandHeight);
}

void FdbMetaBand::syncTimer() {
    const bool needed = tour_.running() || tour_.hover() > 1;
    if (needed && !TimerNDB.isActive()) TimerNDB.start();
    else if (!needed) TimerNDB.stop();
}

void FdbMetaBand::timerTick() {
    tour_.tick(*this);
    syncTimer();
}

void FdbMetaBand::toggleHover() {
    tour_.toggleHover();
    ui_.PanelMus->setText(tour_.hover() == 0 ? QStringLiteral("マウスOFF") : QStringLiteral("マウスON"));
    syncTimer();
}

int FdbMetaBand::currentRow() const {
    const QModelIndex index = grid_.currentIndex();
    return index.isValid() ? index.row() : 0;
}

int FdbMetaBand::nameEnd(int row) const {
    const DatabaseTable* table = table_();
    const QRect cell = grid_.visualRect(grid_.model()->index(row, DbName));
    if (!table) return cell.left();
    return cell.left() + grid_.fontMetrics().horizontalAdvance(table->cellText(std::size_t(row), DbName));
}

void FdbMetaBand::openMetaPage(std::size_t row, QPoint at) {
    DatabaseTable* table = table_();
    treeInfo* tree = tree_();
    if (!table || !tree || row >= table->shownCount()) return;
    fileInfo* star = table->star(row);
    if (!hasValidMeta(star)) return;
    delete page_.data(); // a program it started runs on
    opening_ = true;
    const QString currentPath = tree->current ? tree->treePath(tree->current) : tree->pathBuffer;
    const MetaPageContext context{pageBasePath(*tree), currentPath, tour_.running(), tree->fetched};
    QWidget* viewport = grid_.viewport();
    page_ = new TFormWebX(*star->meta, context, viewport, star->name());
    const QScreen* screen = view_.screen() ? view_.screen() : QGuiApplication::primaryScreen();
    QPoint place = metaPagePlace(at, page_->size(), viewport->size(), page_->windowId(), view_.mapToGlobal(QPoint(0, 0)).y(),
                                 viewport->mapTo(&view_, QPoint(0, 0)).y(), screen ? screen->geometry().height() : 1080,
                                 kDatabasePlacement);
    page_->showAt(place, *viewport);
    opening_ = false;
}

void FdbMetaBand::closeMetaPage() {
    if (!page_) return;
    page_->dismiss();
    delete page_.data();
}

void FdbMetaBand::tableChanging() {
    if (tour_.running()) tour_.stop(*this);
    closeMetaPage();
}

QString FdbMetaBand::tourName() const { return ui_.PanelCount->text(); }

void FdbMetaBand::beginTour() {
    if (grid_.model()->rowCount() > 0) grid_.setCurrentIndex(grid_.model()->index(currentRow(), DbName));
    syncTimer();
}

bool FdbMetaBand::atLast() const { return currentRow() >= grid_.model()->rowCount() - 1; }

void FdbMetaBand::moveOn(bool next) {
    const QModelIndex index = grid_.model()->index(currentRow() + (next ? 1 : 0), DbName);
    grid_.setCurrentIndex(index);
    grid_.scrollTo(index);
}

bool FdbMetaBand::rowHasMeta(int row) const {
    const DatabaseTable* table = table_();
    return table && row >= 0 && std::size_t(row) < table->shownCount() && hasValidMeta(table->star(std::size_t(row)));
}

const metaInfo* FdbMetaBand::currentMeta() const {
    const DatabaseTable* table = table_();
    if (!table || std::size_t(currentRow()) >= table->shownCount()) return nullptr;
    return table->star(std::size_t(currentRow()))->meta.get();
}

QString FdbMetaBand::currentName() const {
    const DatabaseTable* table = table_();
    if (!table || std::size_t(currentRow()) >= table->shownCount()) return {};
    return table->star(std::size_t(currentRow()))->name();
}

void FdbMetaBand::openCurrentPage() {
    const QRect cell = grid_.visualRect(grid_.model()->index(currentRow(), DbName));
    openMetaPage(std::size_t(currentRow()), QPoint(cell.right() - kPageInset, cell.top()));
}

void FdbMetaBand::showTourBox(bool shown) {
    ui_.PanelMsg->setText(QStringLiteral("メタツアー中......."));
    ui_.PanelCount->clear();
    ui_.tourBox->setGeometry(qMax(0, (view_.width() - MetaBandControls::kBoxWidth) / 2), 0, MetaBandControls::kBoxWidth,
                                MetaBandControls::kBoxHeight);
    ui_.tourBox->setVisible(shown);
    if (shown) ui_.tourBox->raise();
}

void FdbMetaBand::tourProgress(const QString& message, const QString& name) {
    ui_.PanelMsg->setText(message);
    ui_.PanelCount->setText(name);
}

bool FdbMetaBand::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == &view_) {
        // Until dragged the panel keeps to the right of the view's top.
        if (type == QEvent::Resize && !dragged_) move(qMax(0, view_.width() - width() - 90), 2);
        return false;
    }
    if (watched == viewport_ && (type == QEvent::MouseButtonPress || type == QEvent::MouseMove)) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        const QModelIndex index = grid_.indexAt(at);
        const bool inBand = index.isValid() && index.column() == DbName && at.x() > nameEnd(index.row()) &&
                            at.x() < nameEnd(index.row()) + kHoverBand;
        if (type == QEvent::MouseButtonPress) {
            if (tour_.running()) tour_.stop(*this);
            closeMetaPage();
            if (inBand && e->button() == Qt::LeftButton &&
                !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
                const QRect cell = grid_.visualRect(index);
                openMetaPage(std::size_t(index.row()), QPoint(cell.right() - kPageInset, at.y()));
            }
        } else if (tour_.hoverReady() && inBand && rowHasMeta(index.row())) {
            tour_.hoverOpened();
            openMetaPage(std::size_t(index.row()), at);
            syncTimer();
        }
        return false;
    }
    if (watched == ui_.PanelSignal &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        // The signal panel drags the whole metadata panel.
        const auto* e = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress) {
            dragFrom_ = e->globalPosition().toPoint();
            return true;
        }
        if (type == QEvent::MouseMove && dragFrom_.x() >= 0) {
            const QPoint now = e->globalPosition().toPoint();
            move(pos() + now - dragFrom_);
            dragFrom_ = now;
            dragged_ = true;
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            dragFrom_ = QPoint(-1, -1);
            return true;
        }
    }
    if ((watched == ui_.PanelMus || watched == ui_.PanelTour) && type == QEvent::MouseButtonRelease) {
        if (watched == ui_.PanelMus) toggleHover();
        else toggleTour();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
