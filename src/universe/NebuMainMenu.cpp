// The main menu and the grid's popup of the tree window, and the entries they route to other
// windows (the database view, the star journey, the help viewer); part of NebuCommands.
#include "ChartCommands.h"
#include "NebuCloneCommands.h"
#include "NebuCommands.h"
#include "NebuMenuCommands.h"
#include "NebuStarCommands.h"
#include "TFormFdb.h"
#include "TFormNebu.h"

#include <QMenu>
#include <QMenuBar>

namespace {

const QString kNoFeature = QStringLiteral("この機能はまだありません");

void addDisabled(QMenu& menu, const QString& text, const QString& hint = kNoFeature) {
    QAction* action = menu.addAction(text);
    action->setEnabled(false);
    action->setToolTip(hint);
}

} // namespace

QMenuBar* NebuCommands::buildMainMenu(QWidget* parent) {
    TFormNebu& w = window_;
    auto* bar = new QMenuBar(parent);
    bar->setObjectName(QStringLiteral("MainMenuNebu"));
    bar->setNativeMenuBar(false); // it sits in the window's menu band, docked or floating
    bar->setStyleSheet(QStringLiteral("QMenuBar { background: #203060; color: white; } "
                                      "QMenuBar::item:selected { background: #4060a0; } "
                                      "QMenuBar::item:disabled { color: #8090a0; }"));

    QMenu* stars = bar->addMenu(QStringLiteral("[星] (&F)"));
    stars->addAction(QStringLiteral("星座の読込 (&L)"), this, &NebuCommands::loadConstellation);
    stars->addAction(QStringLiteral("星座の保存 (&S)"), this, &NebuCommands::saveConstellation);
    stars->addAction(QStringLiteral("星座のイメージテキスト書出し(&I)"), this, [&w] {
        const NebuLook& look = w.sgNebu->look;
        w.model_->saveTreeImage(w.layout_->view, TreeImageStyle{look.indent, look.nameLength, look.formatOptions});
        w.sgNebu->setFocus();
    });
    stars->addSeparator();
    stars->addAction(QStringLiteral("終了 (&Q)"), &w, &TFormNebu::quit);

    QMenu* view = bar->addMenu(QStringLiteral("表示 (&V)"));
    connect(view, &QMenu::aboutToShow, this, [&w, view] {
        view->clear(); // the check marks follow the window's state
        w.menus_->fillViewMenu(*view);
    });

    QMenu* search = bar->addMenu(QStringLiteral("検索 (&S)"));
    search->setToolTipsVisible(true);
    search->addAction(QStringLiteral("ホームパスのツリー検索  (&H)"), this, &NebuCommands::searchHome);
    w.clones_->addSearchActions(search);
    addDisabled(*search, QStringLiteral("(他)等価星の検索表示 (&O)"));
    addDisabled(*search, QStringLiteral("銀河＆星の不等価 (&C)"));
    addDisabled(*search, QStringLiteral("TXT星の比較 (&T)"));
    search->addSeparator();
    search->addAction(QStringLiteral("最深層へ移動 (&G)"), this, &NebuCommands::gotoDeepest);
    search->addAction(QStringLiteral("最長星名へ移動 (&P)"), this, &NebuCommands::gotoLongestName);
    search->addAction(QStringLiteral("最長パス名へ移動 (&F)"), this, &NebuCommands::gotoLongestPath);
    // Menus that act at once are items of the bar itself; the database view's entry is made
    // into a menu of its own, which is never shown.
    auto* holder = new QMenu(bar);
    addDatabaseEntry(w, holder);
    bar->addAction(holder->actions().constFirst());
    journey_ = bar->addAction(QStringLiteral("メタ宇宙の旅(&M)"), this, [&w] {
        if (w.openJourney_) w.openJourney_();
    });
    bar->addAction(QStringLiteral("おまかせ星座チャート作成(&C)"), this, [&w] {
        if (w.opening()) return;
        treeInfo& tree = w.model_->tree();
        const QString root = tree.root()->name();
        const std::size_t nodes = tree.nodeCount();
        const bool finished = w.model_->logAllDrives();
        if (finished || tree.root()->name() != root || tree.nodeCount() != nodes) w.finishOpen();
    });
    helpAction_ = bar->addAction(QStringLiteral("Help(&H)"), this, &NebuCommands::showHelp);
    refreshEntries();
    return bar;
}

void NebuCommands::fillPopup(QMenu& popup) {
    window_.menus_->addPopupActions(popup);
    popup.addSeparator();
    window_.charts_->addPopupActions(popup);
    window_.starCommands_->fillMenu(popup);
    popup.addSeparator();
    window_.clones_->addPopupActions(&popup);
}

void NebuCommands::refreshEntries() {
    if (journey_) {
        const bool journey = window_.openJourney_ != nullptr;
        journey_->setEnabled(journey);
        journey_->setToolTip(journey ? QString() : QStringLiteral("この画面からはメタ宇宙の旅に出られません"));
    }
    if (helpAction_) {
        helpAction_->setEnabled(help_.show != nullptr);
        helpAction_->setToolTip(help_.show ? QString() : QStringLiteral("この画面ではヘルプを開けません"));
    }
}

void NebuCommands::setHelpEntry(NebuHelpEntry entry) {
    releaseHelp();
    help_ = std::move(entry);
    refreshEntries();
}

void NebuCommands::showHelp() {
    if (!help_.show) return;
    help_.show(window_.sgNebu);
    helpShown_ = true;
}

void NebuCommands::releaseHelp() {
    if (helpShown_ && help_.release) help_.release();
    helpShown_ = false;
}
