// The tree window's commands on the window: every menu entry reached once with every question
// answered "no", the sort chooser, the searches and rescans, and key commands played through the
// same key table as the keyboard.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuCommands.h"
#include "universe/TFormFdb.h"
#include "universe/TFormNebu.h"
#include "universe/TFormSort.h"
#include "universe/TreeSort.h"

#include "common/Choosers.h"
#include "common/ShowCheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

namespace {

// Under VIMORA_NEBU_SHOTS the pictures of the menus are written there.
void shot(QWidget& w, const QString& name) {
    const QString shots = qEnvironmentVariable("VIMORA_NEBU_SHOTS");
    if (!shots.isEmpty()) w.grab().save(shots + u'/' + name + QStringLiteral(".png"));
}

class NebuCommandsWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    ScriptedChooserSink chooser;
    ScopedChooserSink chooserInstalled{&chooser};
    TempFolder folder;
    QWidget dock;
    QPointer<TFormNebu> w;

    const QStringList files = {"星座/銀河一/写真.jpg", "星座/銀河一/深い.txt", "星座/メモ.txt", "星座/銀河二/a.txt",
                               "星座/銀河二/とても長い名前のファイル.txt"};

    void SetUp() override {
        for (const QString& f : files) folder.write(f, "12345");
        dock.resize(1100, 560);
        dock.show();
        w = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', QString(), &dock);
        w->show();
        ASSERT_TRUE(settle());
    }
    void TearDown() override { delete w.data(); }

    bool settle() {
        return pumpUntil([this] {
            if (w) w->timerTick();
            return !w || !w->opening();
        });
    }
    fileInfo* node(const QString& name) {
        treeInfo& tree = w->model().tree();
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }
    QMenuBar* mainMenu() { return w->findChild<QMenuBar*>(QStringLiteral("MainMenuNebu")); }
    // The actions of the main menu, each menu refilled as it would be when it drops down.
    QList<QAction*> mainActions() {
        QList<QAction*> out;
        for (QAction* a : mainMenu()->actions()) {
            if (!a->menu()) {
                out << a;
                continue;
            }
            emit a->menu()->aboutToShow();
            for (QAction* inner : a->menu()->actions())
                if (inner->menu()) out += inner->menu()->actions();
                else out << inner;
        }
        return out;
    }
    // The grid's popup as the window builds it.
    void fillPopup(QMenu& popup) { w->commands().fillPopup(popup); }
};

TEST_F(NebuCommandsWindowTest, EveryMenuEntryIsReachedOnceAndNothingIsLost) {
    int journeys = 0;
    QWidget* helpArea = nullptr;
    int helpReleased = 0;
    w->setJourneyEntry([&] { ++journeys; });
    w->commands().setHelpEntry({[&](QWidget* area) { helpArea = area; }, [&] { ++helpReleased; }});
    w->commands().setHomeFolder(folder.file(QStringLiteral("星座")));
    sink.defaultAnswer = 0;               // every question is answered "いいえ"
    chooser.driveAnswers = {QStringList()}; // the all-drives log: no drive chosen
    // A modal window that a command opens (the date range) is closed as the user would.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    });
    closer.start(20);

    std::set<QString> reached;
    const std::set<QString> skipped = {"終了 (&Q)",             // last, it closes the window
                                       "開く〔メモ帳〕    (&E)"}; // would start a desktop editor
    auto reach = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (!w || a->isSeparator() || a->menu() || !a->isEnabled() || reached.count(a->text()) || skipped.count(a->text()))
                continue;
            reached.insert(a->text());
            SCOPED_TRACE(a->text().toStdString());
            a->trigger();
            ASSERT_TRUE(settle());
            if (w->commands().sortChooser()->isVisible()) w->commands().sortChooser()->choose(0);
        }
    };
    reach(mainActions());
    for (const char* at : {"メモ.txt", "銀河二"}) {
        w->cursor().setCurrent(node(QString::fromUtf8(at)));
        QMenu popup;
        fillPopup(popup);
        reach(popup.actions());
    }
    ASSERT_TRUE(w);

    // Every command of the menus was there and enabled once.
    for (const char* caption :
         {"星座の読込 (&L)", "星座の保存 (&S)", "星座のイメージテキスト書出し(&I)", "天地反転 (&R)", "拡張子フォーマット表示 (&E)",
          "星サイズTGMK形式   (&S)", "ホームパスのツリー検索  (&H)", "(自)等価星の検索表示 (&W)", "最深層へ移動 (&G)",
          "最長星名へ移動 (&P)", "最長パス名へ移動 (&F)", "NDB (&D)", "メタ宇宙の旅(&M)", "メタ表示〔マウスオン〕    (&M)", "メタデータのツアー (&T)", "おまかせ星座チャート作成(&C)", "Help(&H)",
          "上階層へ移動 　　　　　　(&U)", "現銀河を表示トップへ (&J)", "現銀河を検索トップへ (&X)", "星日時表示範囲設定",
          "星なし銀河の非表示", "星表示／非表示(&F)", "属性表示／非表示(&A)", "並べ替え(&S)", "コピー(&C)", "移動(&M)", "削除(&K)",
          "名前の変更   (&N)", "銀河の作成 (&D)", "マーク設定／解除", "全マーク解除", "イメージを開く (&I)", "同名[星]検索",
          "自クローンのマーキング (&M)", "クローンの削除 (&D)"})
        EXPECT_TRUE(reached.count(QString::fromUtf8(caption))) << caption;

    // The routes: the journey and the help were asked for, the help inside the tree area, the
    // database view opened; what the searches found was said.
    EXPECT_EQ(journeys, 1);
    EXPECT_EQ(helpArea, w->grid());
    EXPECT_NE(w->findChild<TFormFdb*>(), nullptr);
    std::set<QString> captions;
    for (const auto& r : sink.records) captions.insert(r.caption);
    EXPECT_TRUE(captions.count("最長の星名検索"));
    EXPECT_TRUE(captions.count("最長のパス星名検索"));
    // Every question was answered "no" and every chooser cancelled: no file is gone.
    for (const QString& f : files) EXPECT_TRUE(QFile::exists(folder.file(f))) << f.toStdString();

    // 終了 closes the window and takes the help viewer out of it first.
    for (QAction* a : mainActions())
        if (a->text() == "終了 (&Q)") a->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(helpReleased, 1);
}

// A disabled item says why: no feature yet, or what it waits for.
TEST_F(NebuCommandsWindowTest, DisabledItemsSayWhy) {
    QList<QAction*> actions = mainActions();
    QMenu popup;
    fillPopup(popup);
    actions += popup.actions();
    w->model().tree().chartMode = true;
    QMenu chartPopup;
    fillPopup(chartPopup);
    actions += chartPopup.actions();
    for (QAction* a : actions) {
        if (a->isSeparator() || a->menu() || a->isEnabled()) continue;
        SCOPED_TRACE(a->text().toStdString());
        EXPECT_FALSE(a->toolTip().isEmpty() || a->toolTip() == QString(a->text()).remove(u'&'));
    }
    // Without a journey entry and a help viewer (a window on its own) both say why.
    for (QAction* a : mainMenu()->actions())
        if (a->text() == "メタ宇宙の旅(&M)" || a->text() == "Help(&H)") {
            EXPECT_FALSE(a->isEnabled());
            EXPECT_FALSE(a->toolTip().isEmpty());
        }
    // The chart popup shows the chart items and none of the file items.
    QStringList chartTexts;
    for (QAction* a : chartPopup.actions()) chartTexts << a->text();
    EXPECT_TRUE(chartTexts.contains("「星」の追加（同階層）"));
    EXPECT_TRUE(chartTexts.contains("メタデータの編集 (&M)"));
    EXPECT_TRUE(chartTexts.contains("星日時表示範囲設定")); // shown in both modes
    EXPECT_FALSE(chartTexts.contains("コピー(&C)"));
    EXPECT_FALSE(chartTexts.contains("同名[星]検索"));
    QStringList fileTexts;
    for (QAction* a : popup.actions()) fileTexts << a->text();
    EXPECT_FALSE(fileTexts.contains("「星」の追加（同階層）"));
    EXPECT_TRUE(fileTexts.contains("コピー(&C)"));
}

TEST_F(NebuCommandsWindowTest, TheSortChooserSortsAroundTheCurrentNode) {
    w->handleKey(Qt::Key_Plus, Qt::NoModifier, {}); // all levels shown
    fileInfo* a = node(QStringLiteral("a.txt"));
    w->cursor().setCurrent(a);
    TFormSort* chooser = w->commands().sortChooser();
    ASSERT_TRUE(w->handleKey(Qt::Key_S, Qt::NoModifier, {}));
    ASSERT_TRUE(chooser->isVisible());
    EXPECT_FALSE(chooser->reverse());
    const auto panelColour = [&] { return chooser->reversePanel()->styleSheet(); };
    EXPECT_TRUE(panelColour().contains(QColor(192, 176, 176).name()));
    chooser->toggleReverse();
    EXPECT_TRUE(panelColour().contains(QColor(255, 192, 128).name()));
    shot(*w, QStringLiteral("nebu_sort_chooser"));
    chooser->item(QStringLiteral("ファイル名(&N)"))->click();
    EXPECT_FALSE(chooser->isVisible());
    // Reversed by name within 銀河二 only; the cursor stays on the node it was on.
    EXPECT_EQ(a->prev->name(), "とても長い名前のファイル.txt");
    EXPECT_EQ(w->cursor().current(), a);
    // Opened again, the reverse toggle is off.
    w->commands().openSortChooser();
    EXPECT_FALSE(chooser->reverse());
    chooser->choose(0);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(TFormSort::modeOfKey(Qt::Key_V), TreeSortSize);
}

TEST_F(NebuCommandsWindowTest, SearchesAndRescans) {
    // X on a star asks for a galaxy; on a galaxy it scans from there.
    w->cursor().setCurrent(node(QStringLiteral("メモ.txt")));
    w->handleKey(Qt::Key_X, Qt::NoModifier, {});
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().text, "銀河を指定してください！");
    EXPECT_EQ(sink.records.back().caption, "NEBU検索");
    w->cursor().setCurrent(node(QStringLiteral("銀河二")));
    w->handleKey(Qt::Key_X, Qt::NoModifier, {});
    ASSERT_TRUE(settle());
    EXPECT_EQ(w->model().tree().root()->name(), folder.file(QStringLiteral("星座/銀河二"))); // a new tree
    // "\" scans the folder above again; U on the root does the same.
    w->handleKey(Qt::Key_Backslash, Qt::NoModifier, {});
    ASSERT_TRUE(settle());
    EXPECT_EQ(w->model().tree().root()->name(), folder.file(QStringLiteral("星座")));
    // The scan of one level set the search depth to 1; Ctrl + 2 scans two levels again and "+"
    // shows them. Then the longest name of what is shown, with its length in bytes.
    EXPECT_EQ(w->model().tree().searchDepth, 1);
    w->handleKey(Qt::Key_2, Qt::ControlModifier, {});
    ASSERT_TRUE(settle());
    EXPECT_EQ(w->model().tree().searchDepth, 2);
    w->handleKey(Qt::Key_Plus, Qt::NoModifier, {});
    w->commands().gotoLongestName();
    EXPECT_EQ(w->cursor().current()->name(), "とても長い名前のファイル.txt");
    EXPECT_EQ(sink.records.back().text, "最長名は 28 byte です。");
    // Ctrl + a drive letter that names no drive says so and keeps the tree.
    w->handleKey(Qt::Key_Z, Qt::ControlModifier, {});
    EXPECT_EQ(sink.records.back().text, "指定したドライブは無効です！");
    EXPECT_EQ(sink.records.back().caption, "Z:\\*.*");
}

TEST_F(NebuCommandsWindowTest, KeyCommandsPlayThroughTheKeyboardsTable) {
    delete w.data();
    // W twice, then Shift+W: two stars per row; Z: zoom 105; I: indent 26; Shift+L: name length 20.
    w = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', QStringLiteral("wwswzisl"), &dock);
    w->show();
    ASSERT_TRUE(settle());
    for (int tick = 0; tick < 80; ++tick) w->timerTick();
    EXPECT_EQ(w->layout().view.starsPerRow, 2);
    EXPECT_EQ(w->grid()->look.zoom, 105);
    EXPECT_EQ(w->grid()->look.indent, 26);
    EXPECT_EQ(w->grid()->look.nameLength, 20);
}

TEST_F(NebuCommandsWindowTest, ControlsCarryTheirHints) {
    const std::vector<std::pair<QString, QString>> hints = {
        {"探査銀河", "　検索する小宇宙・銀河の更新　"}, {"星", "　[星]の表示・非表示切り替え　"},
        {"属性", "　[星]の属性（サイズ・日時などの全て)表示切り替え　"}, {"日　時", "　[星]の属性（日時のみ）表示切り替え　"},
        {"サイズ", "　[星]の属性（サイズ）表示切り替え　"}, {"L", "　星座データの読み込み　"}, {"S", "　星座データの保存　"},
        {"top", "　銀河の先頭へ　"}, {"▲", "　上方への自動スクロール加速　"}, {"■", "　上方への自動スクロール停止　"},
        {"▼", "　下方への自動スクロール加速　"}, {"btm", "　星座の末尾へ　"}, {"≫", " 表示階層を検索階層と同じに "},
        {"U", "　上の階層に移動（頂上は再検索）　"}, {"宙", "　キャンバスから宙に飛び出す　"},
    };
    for (const auto& [text, hint] : hints) {
        QWidget* control = nullptr;
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->text() == text) control = b;
        for (QLabel* l : w->findChildren<QLabel*>())
            if (l->text() == text) control = l;
        ASSERT_NE(control, nullptr) << text.toStdString();
        EXPECT_EQ(control->toolTip(), hint) << text.toStdString();
    }
    bool lineHeight = false;
    for (QWidget* control : w->findChildren<QWidget*>()) lineHeight |= control->toolTip() == "行間を拡縮します";
    EXPECT_TRUE(lineHeight);

    // "星" sits 2 pixels lower and to the right while the mouse button is held on it.
    QAbstractButton* star = nullptr;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text() == "星") star = b;
    const QPoint at = star->pos();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4), star->mapToGlobal(QPointF(4, 4)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(star, &press);
    EXPECT_EQ(star->pos(), at + QPoint(2, 2));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(4, 4), star->mapToGlobal(QPointF(4, 4)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(star, &release);
    EXPECT_EQ(star->pos(), at);
    EXPECT_FALSE(w->layout().view.starsShown) << "the press is still a click";
}

TEST_F(NebuCommandsWindowTest, MenuPictures) {
    // The menus as they drop down (written only when pictures are asked for).
    if (qEnvironmentVariable("VIMORA_NEBU_SHOTS").isEmpty()) GTEST_SKIP() << "VIMORA_NEBU_SHOTS not set";
    w->setJourneyEntry([] {});
    shot(*w, QStringLiteral("nebu_window"));
    int index = 0;
    for (QAction* a : mainMenu()->actions())
        if (QMenu* menu = a->menu()) {
            emit menu->aboutToShow();
            menu->adjustSize();
            shot(*menu, QStringLiteral("nebu_menu_%1").arg(index++));
        }
    w->cursor().setCurrent(node(QStringLiteral("メモ.txt")));
    QMenu popup;
    fillPopup(popup);
    popup.adjustSize();
    shot(popup, QStringLiteral("nebu_popup"));
    w->model().tree().chartMode = true;
    QMenu chartPopup;
    fillPopup(chartPopup);
    chartPopup.adjustSize();
    shot(chartPopup, QStringLiteral("nebu_popup_chart"));
}

} // namespace
