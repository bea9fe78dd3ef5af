#include "NebuMenuCommands.h"

#include "NebuCommands.h"
#include "NebuMetaBand.h"
#include "TFormNebu.h"

#include <QLineEdit>
#include <QMenu>

namespace {

const QString kNotYet = QStringLiteral("まだ使えません（この機能は準備中です）");

void addNotYet(QMenu& menu, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setEnabled(false);
    action->setToolTip(kNotYet);
}

} // namespace

NebuMenuCommands::NebuMenuCommands(TFormNebu& window) : QObject(&window), window_(window) {}

void NebuMenuCommands::addPopupActions(QMenu& menu) {
    menu.setToolTipsVisible(true);
    const bool idle = !window_.opening();
    const bool chart = window_.model().tree().chartMode;
    const fileInfo* current = window_.cursor().current();
    auto add = [&](const QString& text, auto command, bool enabled = true) {
        QAction* action = menu.addAction(text, this, command);
        action->setEnabled(enabled && idle);
        return action;
    };
    add(QStringLiteral("上階層へ移動 　　　　　　(&U)"), [this] { window_.handleKey(Qt::Key_U, Qt::NoModifier, {}); });
    add(QStringLiteral("現銀河を表示トップへ (&J)"), &NebuMenuCommands::currentToTop, current != nullptr);
    add(QStringLiteral("現銀河を検索トップへ (&X)"), [this] { window_.commands().searchTopFromCurrent(); }, current != nullptr);
    QAction* starless = add(QStringLiteral("星なし銀河の非表示"), &NebuMenuCommands::toggleHideStarless);
    starless->setCheckable(true);
    starless->setChecked(window_.layout().view.hideStarlessGalaxies);
    add(QStringLiteral("星表示／非表示(&F)"), [this] { window_.handleKey(Qt::Key_F, Qt::NoModifier, {}); });
    add(QStringLiteral("属性表示／非表示(&A)"), [this] { window_.handleKey(Qt::Key_A, Qt::NoModifier, {}); });
    add(QStringLiteral("マーク設定／解除"), &NebuMenuCommands::toggleMark, current != nullptr);
    add(QStringLiteral("全マーク解除"), &NebuMenuCommands::clearMarks);
    if (!chart) add(QStringLiteral("同名[星]検索"), &NebuMenuCommands::sameNameSearch, current != nullptr);
    add(QStringLiteral("並べ替え(&S)"), [this] { window_.commands().openSortChooser(); }, current != nullptr);
    if (!chart) {
        addNotYet(menu, QStringLiteral("開く〔関連付け〕(&O)"));
        addNotYet(menu, QStringLiteral("開く〔web〕 (&W)"));
        add(QStringLiteral("開く〔メモ帳〕    (&E)"), [this] { window_.commands().openInTextEditor(); },
            current && !current->isGalaxy())
            ->setToolTip(QStringLiteral("　[星]をテキストエディタで開く（[星]の上で使えます）　"));
        addNotYet(menu, QStringLiteral("TXT星の比較 (&C)"));
    } else {
        add(QStringLiteral("メタデータの編集 (&M)"), [this] { window_.editMetadata(); }, current != nullptr);
    }
}

void NebuMenuCommands::fillViewMenu(QMenu& menu) {
    menu.setToolTipsVisible(true);
    auto check = [&](const QString& text, bool on, auto command) {
        QAction* action = menu.addAction(text, this, command);
        action->setCheckable(true);
        action->setChecked(on);
    };
    const int format = window_.grid()->look.formatOptions;
    check(QStringLiteral("天地反転 (&R)"), window_.layout().upsideDown, [this] { window_.handleKey(Qt::Key_R, Qt::NoModifier, {}); });
    check(QStringLiteral("拡張子フォーマット表示 (&E)"), format & 1, [this] { toggleFormat(1); });
    check(QStringLiteral("星サイズTGMK形式   (&S)"), format & 2, [this] { toggleFormat(2); });
    const MetaTour& tour = window_.metaBand().meta().tour();
    check(QStringLiteral("メタ表示〔マウスオン〕    (&M)"), tour.hover() != 0, [this] { window_.toggleMetaHover(); });
    check(QStringLiteral("メタデータのツアー (&T)"), tour.running(), [this] { window_.toggleMetaTour(); });
    menu.addSeparator();
    for (const char16_t* text : {u"マークしたファイルのみ表示 (&M)", u"イメージファイルのみ表示     (&I)"})
        addNotYet(menu, QString::fromUtf16(text));
    QMenu* setting = menu.addMenu(QStringLiteral("環境"));
    setting->setToolTipsVisible(true);
    for (const char16_t* text : {u"アンダーバーの「アニメ」を隠す (&H)", u"表示階層の同期 (&S)", u"パス選択ダイアログ切り替え (&X)",
                                 u"環境色の調整 (&C)", u"モノシズカナ日に (&M)", u"ピンキーな日に (&P)", u"ヤッパリ元のカラーに (&O)",
                                 u"画面サイズの表示  (&W)", u"HOMEパスの変更 (&D)", u"読込環境「nebu.env」 (&E)"})
        addNotYet(*setting, QString::fromUtf16(text));
}

void NebuMenuCommands::currentToTop() {
    treeInfo& tree = window_.model().tree();
    fileInfo* node = tree.current;
    if (!node) return;
    if (!node->isGalaxy() && node->parent) node = node->parent;
    tree.topGalaxy = node;
    tree.current = node;
    window_.layoutTree(true);
}

void NebuMenuCommands::toggleHideStarless() {
    bool& hide = window_.layout().view.hideStarlessGalaxies;
    hide = !hide;
    window_.layoutTree(false);
}

void NebuMenuCommands::toggleMark() {
    fileInfo* node = window_.cursor().current();
    if (!node) return;
    node->marks ^= MarkMarked;
    window_.handleKey(Qt::Key_Down, Qt::NoModifier, {});
}

void NebuMenuCommands::clearMarks() {
    treeInfo& tree = window_.model().tree();
    for (fileInfo* n = tree.root(); n && n != tree.bottom(); n = n->next) n->marks &= ~MarkMarked;
    window_.grid()->refresh();
}

void NebuMenuCommands::sameNameSearch() {
    const fileInfo* node = window_.cursor().current();
    if (!node) return;
    window_.setWildcard(node->isGalaxy(), node->name());
}

void NebuMenuCommands::toggleFormat(int bit) {
    window_.grid()->look.formatOptions ^= bit;
    window_.grid()->refresh();
}
