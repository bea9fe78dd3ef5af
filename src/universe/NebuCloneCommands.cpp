#include "NebuCloneCommands.h"

#include "NebuClones.h"
#include "NodeText.h"
#include "TFormLoad.h"
#include "TFormNebu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

NebuCloneCommands::NebuCloneCommands(TFormNebu& window, QWidget* panelParent) : window_(window) {
    panel_ = new QLabel(panelParent);
    panel_->setFixedSize(16, 24);
    panel_->setAlignment(Qt::AlignCenter);
    view_ = new QAction(QStringLiteral("(自)等価星の検索表示 (&W)"), this);
    inverted_ = new QAction(QStringLiteral("等価ファイル表示の反転  (&N)"), this);
    single_ = new QAction(QStringLiteral("単一〔無等価〕ファイル (&U)"), this);
    single_->setToolTip(QStringLiteral("　(自)等価星の検索表示の間に使えます　"));
    mark_ = new QAction(QStringLiteral("自クローンのマーキング (&M)"), this);
    delete_ = new QAction(QStringLiteral("クローンの削除 (&D)"), this);
    for (QAction* a : {view_, inverted_, single_}) a->setCheckable(true);
    connect(view_, &QAction::triggered, this, &NebuCloneCommands::toggleView);
    connect(inverted_, &QAction::triggered, this, &NebuCloneCommands::toggleInverted);
    connect(single_, &QAction::triggered, this, &NebuCloneCommands::toggleInverted);
    connect(mark_, &QAction::triggered, this, &NebuCloneCommands::markCurrent);
    connect(delete_, &QAction::triggered, this, &NebuCloneCommands::deleteCurrent);
    refreshState();
}

void NebuCloneCommands::addSearchActions(QMenu* menu) const {
    menu->addAction(view_);
    menu->addAction(inverted_);
}

void NebuCloneCommands::addPopupActions(QMenu* menu) const {
    menu->addAction(single_);
    menu->addAction(mark_);
    menu->addAction(delete_);
}

int NebuCloneCommands::viewFlags() const { return window_.layout().view.viewFlags; }

void NebuCloneCommands::setViewFlags(int flags) {
    // The filter reads the layout's copy, the painted detail columns the grid's.
    const int cloneBits = ViewClones | ViewClonesInverted;
    window_.layout().view.viewFlags = (window_.layout().view.viewFlags & ~cloneBits) | (flags & cloneBits);
    window_.grid()->look.viewFlags = (window_.grid()->look.viewFlags & ~cloneBits) | (flags & cloneBits);
}

void NebuCloneCommands::refreshState() {
    const bool on = viewFlags() & ViewClones;
    const bool chart = window_.model().tree().chartMode;
    panel_->setText(on ? QStringLiteral("C") : QString());
    panel_->setStyleSheet(on ? QStringLiteral("background: aqua; color: black;") : QString());
    view_->setChecked(on);
    inverted_->setChecked(viewFlags() & ViewClonesInverted);
    single_->setChecked(viewFlags() & ViewClonesInverted);
    single_->setEnabled(on && !chart);
    const bool node = window_.cursor().current() != nullptr;
    mark_->setEnabled(!chart && node);
    delete_->setEnabled(!chart && node);
    for (QAction* a : {single_, mark_, delete_}) a->setVisible(!chart);
}

void NebuCloneCommands::toggleView() {
    treeInfo& tree = window_.model().tree();
    NebuClones clones(tree, window_.progressWindow()->breakPoll(), window_.progressWindow());
    setViewFlags(clones.toggleCloneView(viewFlags()));
    refreshState();
    window_.layoutTree(true);
}

void NebuCloneCommands::toggleInverted() {
    setViewFlags(viewFlags() ^ ViewClonesInverted);
    refreshState();
    window_.layoutTree(false);
}

void NebuCloneCommands::markCurrent() {
    const fileInfo* node = window_.cursor().current();
    if (!node || window_.model().tree().chartMode) return;
    NebuClones(window_.model().tree(), nullptr, nullptr).markClones(*node);
    window_.grid()->refresh();
    window_.grid()->setFocus();
}

void NebuCloneCommands::deleteCurrent() {
    treeInfo& tree = window_.model().tree();
    fileInfo* node = window_.cursor().current();
    if (!node || tree.chartMode) return;
    NebuClones clones(tree, window_.progressWindow()->breakPoll(), window_.progressWindow());
    if (!clones.deleteClones(node).asked) return;
    tree.current = tree.topGalaxy;
    window_.layoutTree(true);
}

void NebuCloneCommands::treeReplaced() {
    setViewFlags(viewFlags() & ~ViewClones);
    refreshState();
}
