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
constexpr int kBoxWidth = 400, kBoxHeight = 40, kBoxTop = 6;
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

QLabel* panel(QWidget* parent, const QString& text, const QString& style, const QString& tip, int width) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(style);
    label->setToolTip(tip);
    label->setAlignment(Qt::AlignCenter);
    if (width > 0) label->setFixedWidth(width);
    label->setFixedHeight(26);
    return label;
}

QPushButton* smallButton(QWidget* parent, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(24, 26);
    return b;
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
        PanelMsg->setText(QStringLiteral("メタツアー中......."));
        PanelCount->clear();
        tourBox_->setGeometry(qMax(0, (nebu_.width() - kBoxWidth) / 2), kBoxTop, kBoxWidth, kBoxHeight);
        tourBox_->setVisible(shown);
        if (shown) tourBox_->raise();
        btnStop->setEnabled(shown);
    };
    e.tourProgress = [this](const QString& message, const QString& name) {
        PanelMsg->setText(message);
        PanelCount->setText(name);
        tourBox_->repaint();
    };
    e.changed = [this] {
        btnStop->setEnabled(meta_->tour().running());
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
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(3);
    PanelSignal = panel(this, QStringLiteral("「 _◆ _◇ _■  _□ _★ _▲ _● 」 を クリック"),
                        QStringLiteral("color: white; background: rgb(40,80,128);"), QString(), 240);
    PanelMus = panel(this, QStringLiteral("マウスOFF"), QStringLiteral("color: aqua; background: navy;"),
                     QStringLiteral("　マウスONに、メタ記号に触れるだけでメタ展開する　"), 70);
    PanelTour = panel(this, QStringLiteral("メタツアー"), QStringLiteral("color: lime; background: navy;"),
                      QStringLiteral("　メタ展開ツアーを始める　"), 70);
    btnSlower = smallButton(this, QStringLiteral("▲"), QStringLiteral("　メタツアーを遅く　"));
    PanelTm = panel(this, QString(), QStringLiteral("color: white; background: rgb(0,0,80);"), QStringLiteral("　メタツアーの速さ　"), 24);
    btnFaster = smallButton(this, QStringLiteral("▼"), QStringLiteral("　メタツアーを速く　"));
    btnStop = smallButton(this, QStringLiteral("■"), QStringLiteral("　メタツアーを止める　"));
    btnStop->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{PanelSignal, PanelMus, PanelTour, btnSlower, PanelTm, btnFaster, btnStop})
        row->addWidget(w);
    for (QLabel* l : {PanelMus, PanelTour}) l->installEventFilter(this);
    connect(btnSlower, &QPushButton::clicked, this, [this] {
        meta_->tour().slower();
        showSpeed();
    });
    connect(btnFaster, &QPushButton::clicked, this, [this] {
        meta_->tour().faster();
        showSpeed();
    });
    connect(btnStop, &QPushButton::clicked, this, [this] {
        if (meta_->tour().running()) meta_->stopTour();
    });

    // The progress box of the tour, over the tree window's top band.
    tourBox_ = new QWidget(&nebu_);
    tourBox_->setObjectName(QStringLiteral("TFormDoing"));
    tourBox_->setStyleSheet(QStringLiteral("#TFormDoing { background: rgb(240,240,240); border: 1px solid gray; }"));
    tourBox_->setAttribute(Qt::WA_StyledBackground);
    auto* box = new QHBoxLayout(tourBox_);
    box->setContentsMargins(6, 4, 6, 4);
    PanelMsg = new QLabel(tourBox_);
    PanelMsg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanelMsg->setStyleSheet(QStringLiteral("color: rgb(0,0,128);"));
    auto* PanelRgt = new QWidget(tourBox_);
    PanelRgt->setFixedWidth(200);
    PanelCount = new QLabel(PanelRgt);
    PanelCount->setGeometry(10, 0, 180, kBoxHeight - 8);
    PanelCount->setStyleSheet(QStringLiteral("color: yellow; background: rgb(0,0,80);"));
    box->addWidget(PanelMsg, 1);
    box->addWidget(PanelRgt);
    tourBox_->hide();
    showSpeed();
}

void NebuMetaBand::showSpeed() {
    PanelTm->setText(meta_ ? meta_->tour().speedText() : QString::number(MetaTour::kDefaultSpeed / 10));
    if (meta_ && nebu_.grid()->onCursorMoved) nebu_.grid()->onCursorMoved();
}

QString NebuMetaBand::tourMessage() const { return PanelMsg->text(); }
QString NebuMetaBand::tourName() const { return PanelCount->text(); }

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
    PanelMus->setText(meta_->tour().hover() == 0 ? QStringLiteral("マウスOFF") : QStringLiteral("マウスON"));
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
    if (label && (label == PanelMus || label == PanelTour)) {
        // A pressed panel sits a little further up and left; the release acts.
        if (event->type() == QEvent::MouseButtonPress) {
            label->setContentsMargins(0, 0, kPressShift * 2, kPressShift * 2);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            label->setContentsMargins(0, 0, 0, 0);
            if (!label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) return true;
            if (label == PanelMus) toggleHover();
            else toggleTour();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
