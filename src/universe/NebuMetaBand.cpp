#include "NebuMetaBand.h"

#include "ChartEdits.h"
#include "TFormNebu.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace {

const MetaPlacement kTreePlacement{96, 20, 480};
constexpr int kBoxTop = 6;
constexpr int kPressShift = 2;

MetadataEditor& installedEditor() {
    static MetadataEditor editor;
    return editor;
}

// The one-line editor of programs without the memo.
MetaEditResult plainEditor(QWidget* owner, const MetaEditRequest& request) {
    bool ok = false;
    const QString initial = request.text.value_or(QString());
    const QString text = QInputDialog::getText(owner, request.caption, request.topText + u'\n' + request.middleText,
                                               QLineEdit::Normal, initial, &ok);
    return MetaEditResult{ok, ok && text != initial, text};
}

} // namespace

void setMetadataEditor(MetadataEditor editor) { installedEditor() = std::move(editor); }

NebuMetaBand::NebuMetaBand(TFormNebu& nebu, QWidget* parent) : QWidget(parent), nebu_(nebu) {
    setObjectName(QStringLiteral("PanelMeta"));
    build();
    NebuMeta::Effects e;
    e.openPage = [this](fileInfo* node, QPoint at) { openMetaPage(node, at); };
    e.closePage = [this] { closeMetaPage(); };
    e.pageOpen = [this] { return page_ && (page_->isVisible() || page_->minimised()); };
    e.tourPoint = [this](fileInfo* node) { return tourPoint(node); };
    e.showTourBox = [this](bool shown) {
        ui_.PanelMsg->setText(QStringLiteral("メタツアー中......."));
        ui_.PanelCount->clear();
        ui_.tourBox->setGeometry(qMax(0, (nebu_.width() - MetaBandControls::kBoxWidth) / 2), kBoxTop,
                                   MetaBandControls::kBoxWidth, MetaBandControls::kBoxHeight);
        ui_.tourBox->setVisible(shown);
        if (shown) ui_.tourBox->raise();
        ui_.btnStop->setEnabled(shown);
    };
    e.tourProgress = [this](const QString& message, const QString& name) {
        ui_.PanelMsg->setText(message);
        ui_.PanelCount->setText(name);
        ui_.tourBox->repaint();
    };
    e.changed = [this] {
        ui_.btnStop->setEnabled(meta_->tour().running());
        if (nebu_.grid()->onCursorMoved) nebu_.grid()->onCursorMoved();
    };
    e.tourReachedEnd = [this] { nebu_.setFloatState(3); };
    meta_ = std::make_unique<NebuMeta>([this]() -> NebuCursor& { return nebu_.cursor(); }, std::move(e));

    NebuGrid* grid = nebu_.grid();
    viewport_ = grid->viewport();
    viewport_->setMouseTracking(true);
    viewport_->installEventFilter(this);
    // Scrolling the grid closes the page, but not the scrolling that opening one brings.
    auto scrolled = [this] {
        if (!opening_ && page_) closeMetaPage();
    };
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
}

NebuMetaBand::~NebuMetaBand() {
    // The tree window is going: its grid must not report the page's removal here.
    if (viewport_) viewport_->removeEventFilter(this);
    if (page_) {
        page_->endProcess();
        delete page_.data();
    }
}

void NebuMetaBand::build() {
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#PanelMeta { background: rgb(0,0,80); }"));
    // The progress box of the tour goes over the tree window's top band.
    ui_ = MetaBandControls::build(*this, 26, QMargins(4, 0, 4, 0), nebu_);
    ui_.btnStop->setEnabled(false);
    for (QLabel* l : {ui_.PanelMus, ui_.PanelTour}) l->installEventFilter(this);
    connect(ui_.btnSlower, &QPushButton::clicked, this, [this] {
        meta_->tour().slower();
        showSpeed();
    });
    connect(ui_.btnFaster, &QPushButton::clicked, this, [this] {
        meta_->tour().faster();
        showSpeed();
    });
    connect(ui_.btnStop, &QPushButton::clicked, this, [this] {
        if (meta_->tour().running()) meta_->stopTour();
    });
    showSpeed();
}

void NebuMetaBand::showSpeed() {
    ui_.PanelTm->setText(meta_ ? meta_->tour().speedText() : QString::number(MetaTour::kDefaultSpeed / 10));
    if (meta_ && nebu_.grid()->onCursorMoved) nebu_.grid()->onCursorMoved();
}

QString NebuMetaBand::tourMessage() const { return ui_.PanelMsg->text(); }
QString NebuMetaBand::tourName() const { return ui_.PanelCount->text(); }

QPoint NebuMetaBand::tourPoint(fileInfo* node) {
    NebuGrid* grid = nebu_.grid();
    grid->viewport()->repaint(); // the node's drawn span of the cursor's new place
    const NebuCursor& cursor = nebu_.cursor();
    const int gridRow = nebu_.layout().gridRow(node->row);
    return QPoint(node->drawRight, (gridRow - cursor.topRow()) * grid->rowHeight());
}

void NebuMetaBand::openMetaPage(fileInfo* node, QPoint at) {
    if (!hasValidMeta(node)) return;
    // A page still open is discarded; a program it started runs on.
    delete page_.data();
    opening_ = true;
    treeInfo& tree = nebu_.model().tree();
    const MetaPageContext context{pageBasePath(tree), nebu_.cursor().path(), meta_->tour().running(), tree.fetched};
    NebuGrid* grid = nebu_.grid();
    QWidget* view = grid->viewport();
    page_ = new TFormWebX(*node->meta, context, view, node->name());
    const QScreen* screen = nebu_.screen() ? nebu_.screen() : QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 1080;
    const int windowTop = nebu_.mapToGlobal(QPoint(0, 0)).y();
    const int gridTop = view->mapTo(&nebu_, QPoint(0, 0)).y();
    QPoint place = metaPagePlace(QPoint(at.x() + grid->horizontalOffset, at.y()), page_->size(), view->size(),
                                 page_->windowId(), windowTop, gridTop, screenHeight, kTreePlacement);
    page_->showAt(place, *view);
    opening_ = false;
}

void NebuMetaBand::closeMetaPage() {
    if (!page_) return;
    page_->dismiss();
    delete page_.data();
    nebu_.grid()->viewport()->update();
}

void NebuMetaBand::editMetadata() {
    const MetaEditor editor = [this](const MetaEditRequest& request) {
        return installedEditor() ? installedEditor()(&nebu_, request) : plainEditor(&nebu_, request);
    };
    if (!editNodeMetadata(nebu_.model().tree(), nebu_.cursor().path(), editor)) return;
    nebu_.grid()->viewport()->update();
    if (nebu_.grid()->onCursorMoved) nebu_.grid()->onCursorMoved();
}

void NebuMetaBand::toggleHover() {
    meta_->toggleHover();
    ui_.PanelMus->setText(meta_->tour().hover() == 0 ? QStringLiteral("マウスOFF") : QStringLiteral("マウスON"));
}

void NebuMetaBand::windowClosing() {
    if (meta_->tour().running()) meta_->stopTour();
    closeMetaPage();
}

bool NebuMetaBand::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        NebuGrid* grid = nebu_.grid();
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* e = static_cast<QMouseEvent*>(event);
            closeMetaPage();
            const QPoint at = e->position().toPoint();
            if (e->button() == Qt::LeftButton && !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
                meta_->pressed(grid->hitTest(at, false), QPoint(at.x() - grid->horizontalOffset, at.y()));
        } else if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (meta_->tour().hoverReady())
                meta_->mouseMoved(grid->hitTest(at, false), QPoint(at.x() - grid->horizontalOffset, at.y()));
        }
        return false;
    }
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && (label == ui_.PanelMus || label == ui_.PanelTour)) {
        // A pressed panel sits a little further up and left; the release acts.
        if (event->type() == QEvent::MouseButtonPress) {
            label->setContentsMargins(0, 0, kPressShift * 2, kPressShift * 2);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            label->setContentsMargins(0, 0, 0, 0);
            if (!label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) return true;
            if (label == ui_.PanelMus) toggleHover();
            else toggleTour();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
