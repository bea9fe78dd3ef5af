#include "NebuStarCommands.h"

#include "ChartEdits.h"
#include "ProfileLayout.h"
#include "TFormFdate.h"
#include "TFormNebu.h"
#include "TreeEdits.h"

#include "common/PanelMouse.h"
#include "common/ShowCheck.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The progress box of a batch: its text, the node being worked on and the "中止" panel whose
// press asks whether to stop. The windows stay live between nodes (pumpPanelMouse).
class StarProgressBox : public StarProgress {
public:
    explicit StarProgressBox(QWidget* owner) {
        box_ = new QWidget(owner->window(), Qt::Tool | Qt::FramelessWindowHint);
        box_->setAttribute(Qt::WA_DeleteOnClose);
        box_->setStyleSheet(QStringLiteral("background: rgb(160,208,224);"));
        auto* column = new QVBoxLayout(box_);
        text_ = new QLabel(box_);
        name_ = new QLabel(box_);
        name_->setMinimumWidth(320);
        panel_ = new QPushButton(QStringLiteral("中止"), box_);
        panel_->setToolTip(QStringLiteral("押すと中止するか尋ねます"));
        column->addWidget(text_);
        column->addWidget(name_);
        column->addWidget(panel_);
        box_->adjustSize();
        const QRect around = owner->window()->geometry();
        box_->move(around.center() - QPoint(box_->width() / 2, box_->height() / 2));
    }
    ~StarProgressBox() override {
        if (box_) box_->close();
    }
    void begin(const QString& text) override {
        text_->setText(text);
        box_->show();
        box_->raise();
    }
    void item(const QString& name) override {
        if (box_) name_->setText(QStringLiteral("  ") + name);
    }
    bool pressed() override { return box_ && pumpPanelMouse(panel_); }
    void end() override {
        if (box_) box_->hide();
    }

private:
    QPointer<QWidget> box_;
    QLabel* text_ = nullptr;
    QLabel* name_ = nullptr;
    QPushButton* panel_ = nullptr;
};

// Holds the window's timer while a command runs: its questions and its progress box let events
// through, and a tick could otherwise play a key command or take over a finished scan, which
// would replace the tree under the command.
class TimerHold {
public:
    explicit TimerHold(QTimer& timer) : timer_(timer), active_(timer.isActive()) { timer_.stop(); }
    ~TimerHold() {
        if (active_) timer_.start();
    }
    TimerHold(const TimerHold&) = delete;
    TimerHold& operator=(const TimerHold&) = delete;

private:
    QTimer& timer_;
    bool active_;
};

} // namespace

NebuStarCommands::NebuStarCommands(TFormNebu& window)
    : QObject(&window), window_(window), grid_(window.grid()), viewport_(window.grid()->viewport()) {
    viewport_->installEventFilter(this);
}

NebuStarCommands::~NebuStarCommands() {
    if (prof_ && prof_->isWindow()) delete prof_.data();
}

bool NebuStarCommands::eventFilter(QObject* watched, QEvent* event) {
    // Only the grid's own pointers here: the window may already be half destroyed.
    if (!grid_ || watched != viewport_.data()) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress)
        lastPress_ = viewport_->mapTo(grid_, static_cast<QMouseEvent*>(event)->position().toPoint());
    return QObject::eventFilter(watched, event);
}

void NebuStarCommands::fillMenu(QMenu& menu) {
    const bool chart = window_.model().tree().chartMode;
    auto add = [&](const QString& text, void (NebuStarCommands::*command)(), bool enabled = true,
                   const QString& tip = {}) {
        QAction* action = menu.addAction(text, this, command);
        action->setEnabled(enabled && !window_.opening());
        if (!tip.isEmpty()) action->setToolTip(tip);
    };
    if (chart) { // a chart names no files: its own commands are ChartCommands'
        add(QStringLiteral("星日時表示範囲設定"), &NebuStarCommands::timeRange); // a chart's stars have times too
        return;
    }
    add(QStringLiteral("コピー(&C)"), &NebuStarCommands::copyStars);
    add(QStringLiteral("移動(&M)"), &NebuStarCommands::moveStars);
    add(QStringLiteral("削除(&K)"), &NebuStarCommands::deleteStars);
    add(QStringLiteral("名前の変更   (&N)"), &NebuStarCommands::renameStar);
    const fileInfo* current = window_.model().tree().current;
    add(QStringLiteral("銀河の作成 (&D)"), &NebuStarCommands::makeGalaxy, current && current->isGalaxy());
    menu.addSeparator();
    add(QStringLiteral("イメージを開く (&I)"), &NebuStarCommands::showImages);
    add(QStringLiteral("星日時表示範囲設定"), &NebuStarCommands::timeRange);
}

template <typename Run> void NebuStarCommands::runBatch(Run run) {
    if (busy_ || window_.opening() || window_.model().tree().chartMode) return;
    busy_ = true;
    TimerHold hold(window_.timer());
    StarOperations ops(window_.model().tree());
    StarProgressBox box(window_.grid());
    ops.setProgress(&box);
    const StarResult result = run(ops);
    if (result.changed()) relayout();
    window_.grid()->setFocus();
    busy_ = false;
}

void NebuStarCommands::copyStars() {
    runBatch([](StarOperations& ops) { return ops.copyStars(); });
}
void NebuStarCommands::moveStars() {
    runBatch([](StarOperations& ops) { return ops.moveStars(); });
}
void NebuStarCommands::deleteStars() {
    runBatch([](StarOperations& ops) { return ops.deleteStars(); });
}

void NebuStarCommands::relayout() { window_.layoutTree(true); }

void NebuStarCommands::openRen(RenMode mode, const QString& text) {
    if (ren_) ren_->close();
    if (window_.opening()) return;
    const treeInfo& tree = window_.model().tree();
    renSource_ = nodePath(tree, tree.current ? tree.current : tree.root());
    ren_ = new TFormRen(window_.grid(), mode, text, lastPress_,
                        [this](RenMode m, const QString& t) { return executeRen(m, t); });
    ren_->onClosed = [this] {
        window_.grid()->viewport()->update();
        window_.grid()->setFocus();
    };
}

void NebuStarCommands::renameStar() {
    StarOperations ops(window_.model().tree());
    openRen(window_.model().tree().chartMode ? RenMode::RenameChartNode : RenMode::RenameStar, ops.renameText());
}

void NebuStarCommands::makeGalaxy() {
    if (window_.model().tree().chartMode) return;
    StarOperations ops(window_.model().tree());
    openRen(RenMode::MakeGalaxy, ops.newGalaxyText());
}

void NebuStarCommands::changeDepth() {
    if (!window_.model().tree().chartMode) return;
    openRen(RenMode::ChartDepth, ::chartDepthText(window_.model().tree()));
}

bool NebuStarCommands::executeRen(RenMode mode, const QString& text) {
    // The tree may have been replaced by a scan since the window opened.
    if (window_.opening()) return true;
    if (busy_) return false;
    treeInfo& tree = window_.model().tree();
    // The cursor moved or the tree was read anew while the window was open: its text was made
    // for another node, which must not be renamed by it.
    if (nodePath(tree, tree.current ? tree.current : tree.root()) != renSource_) {
        showCheck(QStringLiteral("カーソルの[星]が変わりました。もう一度やり直して下さい。"), renSource_, 0);
        return true;
    }
    busy_ = true;
    TimerHold hold(window_.timer());
    StarOperations ops(tree);
    bool done = false;
    switch (mode) {
    case RenMode::RenameStar: done = ops.renameStar(text); break;
    case RenMode::MakeGalaxy: done = ops.makeGalaxy(text); break;
    case RenMode::RenameChartNode: done = renameChartNode(tree, text); break;
    case RenMode::ChartDepth:
        // The window closes whatever the text: a depth out of place has been brought into it.
        if (setChartDepth(tree, text)) relayout();
        busy_ = false;
        return true;
    }
    if (done) relayout();
    busy_ = false;
    return done;
}

void NebuStarCommands::showImages() {
    treeInfo& tree = window_.model().tree();
    if (busy_ || window_.opening() || tree.chartMode) return;
    TimerHold hold(window_.timer());
    const fileInfo* node = tree.current ? tree.current : tree.root();
    const QString path = nodePath(tree, node);
    const QStringList pictures = pictureStars(node, path, tree.separator());
    if (!mayShowPictures(static_cast<int>(pictures.size()), node->isGalaxy())) return;
    if (!prof_) prof_ = new TFormProf(grid_);
    prof_->show(); // shown first: the thumbnails' rows follow the width it takes
    prof_->raise();
    prof_->viewNode(path, node, pictures);
}

void NebuStarCommands::timeRange() {
    if (busy_) return;
    busy_ = true;
    TimerHold hold(window_.timer());
    TreeView& view = window_.layout().view;
    if (TFormFdate::edit(view.timeFrom, view.timeTo, grid_)) relayout();
    busy_ = false;
}
