// The tree window on a chart: the popup's chart edits, the rename window in its chart modes, the
// depth controls after an edit, the chart list and its choices, and the save offer on closing.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/ChartCommands.h"
#include "universe/NebuStarCommands.h"
#include "universe/TFormNebu.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

class ChartWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    ScriptedChooserSink chooser;
    ScopedChooserSink chooserInstalled{&chooser};
    TempFolder folder;
    QWidget dock;
    QPointer<TFormNebu> w;

    void SetUp() override {
        folder.write(QStringLiteral("nebu/chart.txt"),
                     encodeCp932(QStringLiteral("試しの星図,nebu/mine.nebu\r\n別の星図,nebu/other.nebu\r\n文書,readme.txt\r\n")));
        folder.write(QStringLiteral("nebu/mine.nebu"), encodeCp932(QStringLiteral(
                                                           "0\t1\t試しの星図\t0\t0\r\n"
                                                           "1\t1\t銀河\t0\t20260101000000\r\n"
                                                           "2\t0\t星一\t0\t20260101000000\r\n"
                                                           "2\t0\t星二\t15\t20260101000000\t300,200,0,text:星\r\n"
                                                           "1\t0\t終わりの星\t0\t20260101000000\r\n")));
        folder.write(QStringLiteral("nebu/other.nebu"), encodeCp932(QStringLiteral(
                                                            "0\t1\t別の星図\t0\t0\r\n1\t1\ta\t0\t0\r\n2\t1\tb\t0\t0\r\n3\t0\tc\t0\t0\r\n")));
        dock.resize(1000, 500);
        dock.show();
        w = new TFormNebu(QStringLiteral("nebu/mine.nebu"), folder.path() + u'/', {}, &dock);
        w->show();
        ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return w->treeReady(); }));
        ASSERT_TRUE(w->model().tree().chartMode);
        sink.records.clear();
    }
    void TearDown() override { delete w; }

    treeInfo& tree() { return w->model().tree(); }
    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree().root(); n != tree().bottom(); n = n->next)
            if (n->name() == name) return n;
        return nullptr;
    }
    QStringList popupTexts() {
        QMenu menu;
        w->chartCommands().addPopupActions(menu);
        w->starCommands().fillMenu(menu);
        QStringList texts;
        for (QAction* a : menu.actions()) texts << a->text();
        return texts;
    }
    QAction* popupAction(QMenu& menu, const QString& text) {
        w->chartCommands().addPopupActions(menu);
        for (QAction* a : menu.actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    QComboBox* depthList() {
        for (QComboBox* box : w->findChildren<QComboBox*>())
            if (box->toolTip() == QStringLiteral("探査階層")) return box;
        return nullptr;
    }
    QSpinBox* displayDepthBox() {
        for (QSpinBox* box : w->findChildren<QSpinBox*>())
            if (box->toolTip() == QStringLiteral("表示階層")) return box;
        return nullptr;
    }
    void saveShot(QWidget* widget, const char* name) {
        const QByteArray dir = qgetenv("VIMORA_SHOT_DIR");
        if (!dir.isEmpty()) widget->grab().save(QString::fromUtf8(dir + "/" + name));
    }
};

TEST_F(ChartWindowTest, PopupOffersTheChartEditsInsteadOfTheFileCommands) {
    QMenu popup;
    w->chartCommands().addPopupActions(popup);
    popup.adjustSize();
    saveShot(&popup, "chart_popup.png");
    // The time range stays: it filters a chart's stars as well.
    EXPECT_EQ(popupTexts(), QStringList({"「星」の追加（同階層）", "「星」の追加（下階層）", "「星」の削除", "「星」名の変更",
                                         "「星」「銀河」の変換", "階層の変更", "星日時表示範囲設定"}));
    w->openPath(folder.path()); // a folder: no chart edits, the file commands again
    ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return !w->opening(); }));
    ASSERT_FALSE(tree().chartMode);
    const QStringList texts = popupTexts();
    EXPECT_FALSE(texts.contains(QStringLiteral("「星」の削除")));
    EXPECT_TRUE(texts.contains(QStringLiteral("コピー(&C)")));
}

TEST_F(ChartWindowTest, AStarAddedBelowTheDeepestLevelDeepensTheDepthControls) {
    w->cursor().setCurrent(node(QStringLiteral("星一")));
    QMenu menu;
    QAction* below = popupAction(menu, QStringLiteral("「星」の追加（下階層）"));
    ASSERT_NE(below, nullptr);
    below->trigger();
    fileInfo* added = node(QStringLiteral("new"));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->depth, 3);
    EXPECT_GE(added->row, 0) << "laid out and shown";
    EXPECT_EQ(tree().searchDepth, 3);
    EXPECT_EQ(depthList()->currentIndex(), 3) << "the search depth list selects the new depth";
    EXPECT_EQ(displayDepthBox()->value(), 3);
    EXPECT_TRUE(tree().metaChanged);
    saveShot(w, "chart_window.png");
}

TEST_F(ChartWindowTest, RenameAndDepthGoThroughTheRenameWindow) {
    NebuStarCommands& stars = w->starCommands();
    w->cursor().setCurrent(node(QStringLiteral("終わりの星")));
    w->chartCommands().rename();
    ASSERT_NE(stars.renameWindow(), nullptr);
    EXPECT_EQ(stars.renameWindow()->mode(), RenMode::RenameChartNode);
    EXPECT_EQ(stars.renameWindow()->field()->text(), QStringLiteral("終わりの星"));
    stars.renameWindow()->field()->setText(QStringLiteral("最後の星"));
    stars.renameWindow()->execute();
    EXPECT_EQ(tree().current->name(), QStringLiteral("最後の星"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stars.renameWindow(), nullptr);

    w->chartCommands().changeDepth();
    ASSERT_NE(stars.renameWindow(), nullptr);
    EXPECT_EQ(stars.renameWindow()->mode(), RenMode::ChartDepth);
    EXPECT_EQ(stars.renameWindow()->field()->text(), QStringLiteral("1"));
    stars.renameWindow()->field()->setText(QStringLiteral("5")); // after the star 星二 of depth 2
    stars.renameWindow()->execute();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stars.renameWindow(), nullptr) << "the window closes";
    EXPECT_EQ(tree().current->depth, 2);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("この位置の「星」の階層は 1 から 2 までです。\n階層を 2 にしました。"));
}

TEST_F(ChartWindowTest, ChartListReadsTheWorksChartsAndOffersToSaveFirst) {
    QComboBox* list = w->chartCommands().list();
    EXPECT_EQ(list->width(), 148);
    EXPECT_TRUE(list->isVisible());
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->itemText(i);
    EXPECT_EQ(lines, QStringList({"試しの星図", "別の星図", "文書", " ----------------", " 銀河の星座から", " "}));
    EXPECT_EQ(list->currentIndex(), 0);
    list->showPopup();
    EXPECT_EQ(list->maxVisibleItems(), 6) << "the drop-down shows every line";
    saveShot(list->view()->window(), "chart_list.png");
    list->hidePopup();

    // The separator and the blank line do nothing; a file that is no constellation data is said.
    w->chartCommands().choose(3);
    w->chartCommands().choose(5);
    w->chartCommands().choose(2);
    EXPECT_FALSE(w->opening());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("「NEBU」星座データではありません！"));
    sink.records.clear();

    // A changed chart: the save offer comes first; "いいえ" goes on without saving.
    w->cursor().setCurrent(node(QStringLiteral("星一")));
    w->chartCommands().toggleGalaxy();
    ASSERT_TRUE(tree().metaChanged);
    sink.answers = {0};
    w->chartCommands().choose(1);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("メタデータを保存しますか？(Y/N)"));
    ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return !w->opening(); }));
    EXPECT_EQ(tree().root()->name(), QStringLiteral("別の星図"));
    EXPECT_EQ(tree().displayDepth, 3) << "the display depth takes the search depth";
    EXPECT_EQ(displayDepthBox()->value(), 3);

    // " 銀河の星座から": the own chooser opens on the work folder.
    tree().lastChooserFolder = QStringLiteral("/elsewhere/");
    chooser.paths = {folder.file(QStringLiteral("nebu/mine.nebu"))};
    w->chartCommands().choose(4);
    ASSERT_EQ(chooser.pathRequests.size(), 1u);
    EXPECT_EQ(chooser.pathRequests[0].shownFirst, folder.path() + u'/');
    EXPECT_EQ(tree().root()->name(), QStringLiteral("試しの星図"));
    EXPECT_EQ(tree().displayDepth, tree().searchDepth);
}

TEST_F(ChartWindowTest, ChoosingALineTakesEffectOnceTheListHasClosed) {
    QComboBox* list = w->chartCommands().list();
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_FALSE(w->opening()) << "not while the list is still open";
    ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return tree().root()->name() == QStringLiteral("別の星図"); }));
}

TEST_F(ChartWindowTest, ClosingAChangedChartOffersToSaveIt) {
    w->cursor().setCurrent(node(QStringLiteral("星二")));
    w->chartCommands().deleteNode();
    EXPECT_EQ(tree().current, node(QStringLiteral("終わりの星")));
    ASSERT_TRUE(tree().metaChanged);
    const QString saved = folder.file(QStringLiteral("saved.nebu"));
    sink.answers = {1};
    chooser.paths = {saved};
    w->quit();
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records[0].text, QStringLiteral("メタデータを保存しますか？(Y/N)"));
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("[星]のメタデータ保存"));
    treeInfo back(QStringLiteral("x"), QString());
    ASSERT_TRUE(readConstellation(back, saved, nullptr));
    EXPECT_EQ(chartLines(back), QStringList({"0|1|試しの星図|0|0", "1|1|銀河|0|20260101000000", "2|0|星一|0|20260101000000",
                                             "1|0|終わりの星|0|20260101000000"}));
}

} // namespace
