// The star commands in the tree window: the rename window at the last press point in its modes,
// the key C with a progress box, the popup's entries, and the tree laid out afterwards.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuStarCommands.h"
#include "universe/TFormFdate.h"
#include "universe/TFormNebu.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

class StarWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    ScriptedChooserSink chooser;
    ScopedChooserSink chooserInstalled{&chooser};
    TempFolder folder;
    QWidget dock;
    QPointer<TFormNebu> w;

    void SetUp() override {
        sink.defaultAnswer = 1;
        folder.write(QStringLiteral("星座/銀河一/写真.jpg"), "12345");
        folder.write(QStringLiteral("星座/銀河一/深い.txt"), "1");
        folder.write(QStringLiteral("星座/メモ.txt"), "123");
        folder.write(QStringLiteral("星座/銀河二/a.txt"), "12");
        dock.resize(900, 500);
        dock.show();
        w = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', {}, &dock);
        w->show();
        ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return !w->opening(); }));
    }
    void TearDown() override { delete w; }

    void press(QPoint at) {
        QWidget* viewport = w->grid()->viewport();
        QMouseEvent down(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &up);
    }
    fileInfo* node(const QString& name) {
        treeInfo& tree = w->model().tree();
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        return nullptr;
    }
    void saveShot(QWidget* widget, const char* name) {
        const QByteArray dir = qgetenv("VIMORA_SHOT_DIR");
        if (!dir.isEmpty()) widget->grab().save(QString::fromUtf8(dir + "/" + name));
    }
};

TEST_F(StarWindowTest, RenameWindowOpensAtThePressAndRenamesTheStar) {
    press(QPoint(60, 3 * w->grid()->rowHeight() + 4));
    EXPECT_EQ(w->cursor().gridRow(), 3) << "the press moved the cursor";
    w->cursor().setCurrent(node(QStringLiteral("メモ.txt")));
    NebuStarCommands& commands = w->starCommands();
    commands.renameStar();
    TFormRen* ren = commands.renameWindow();
    ASSERT_NE(ren, nullptr);
    EXPECT_EQ(ren->mode(), RenMode::RenameStar);
    EXPECT_EQ(ren->size(), QSize(420, 72));
    EXPECT_EQ(ren->pos(), commands.lastPress() + QPoint(0, 16));
    EXPECT_EQ(ren->field()->text(), folder.file(QStringLiteral("星座/メモ.txt")));
    saveShot(w, "rename_window.png");

    // A name that exists is refused and the window stays open; then a fresh name is taken.
    ren->field()->setText(folder.file(QStringLiteral("星座/銀河二/a.txt")));
    ren->execute();
    EXPECT_EQ(sink.records.back().text, "　　　星名を変更できませんでした。");
    ASSERT_NE(commands.renameWindow(), nullptr);
    ren->field()->setText(folder.file(QStringLiteral("星座/銀河二/メモ2.txt")));
    ren->execute();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(commands.renameWindow(), nullptr);
    EXPECT_EQ(sink.records.back().text, "　　　星名を変更しました。");
    EXPECT_TRUE(fileExists(folder.file(QStringLiteral("星座/銀河二/メモ2.txt"))));
    fileInfo* moved = node(QStringLiteral("メモ2.txt"));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->parent, node(QStringLiteral("銀河二")));
    EXPECT_EQ(w->cursor().current(), moved);
    EXPECT_EQ(w->layout().rowCount(), 7);
}

TEST_F(StarWindowTest, RenameWindowNeverRenamesANodeItWasNotOpenedOn) {
    w->cursor().setCurrent(node(QStringLiteral("メモ.txt")));
    NebuStarCommands& commands = w->starCommands();
    commands.renameStar();
    ASSERT_NE(commands.renameWindow(), nullptr);
    commands.renameWindow()->field()->setText(folder.file(QStringLiteral("星座/改名.txt")));
    w->cursor().setCurrent(node(QStringLiteral("銀河二")));
    commands.renameWindow()->execute();
    EXPECT_EQ(sink.records.back().text, "カーソルの[星]が変わりました。もう一度やり直して下さい。");
    EXPECT_TRUE(dirExists(folder.file(QStringLiteral("星座/銀河二"))));
    EXPECT_TRUE(fileExists(folder.file(QStringLiteral("星座/メモ.txt"))));
    EXPECT_FALSE(fileExists(folder.file(QStringLiteral("星座/改名.txt"))));
}

TEST_F(StarWindowTest, NewGalaxyIsTypedAfterThePathAndAppearsBelowIt) {
    w->cursor().setCurrent(node(QStringLiteral("銀河一")));
    NebuStarCommands& commands = w->starCommands();
    commands.makeGalaxy();
    ASSERT_NE(commands.renameWindow(), nullptr);
    QLineEdit* field = commands.renameWindow()->field();
    EXPECT_EQ(field->text(), folder.file(QStringLiteral("星座/銀河一/")));
    field->setText(field->text() + QStringLiteral("x/y"));
    commands.renameWindow()->execute();
    EXPECT_EQ(sink.records.back().text, "銀河名に「/」や「..」は使えません！");
    field->setText(folder.file(QStringLiteral("星座/銀河一/新しい銀河\r\n")));
    commands.renameWindow()->execute();
    EXPECT_EQ(sink.records.back().text, "　　　銀河を作成しました。");
    EXPECT_TRUE(dirExists(folder.file(QStringLiteral("星座/銀河一/新しい銀河"))));
    EXPECT_EQ(w->cursor().current()->name(), "新しい銀河");
    EXPECT_EQ(w->layout().rowCount(), 8);
}

TEST_F(StarWindowTest, KeyCCopiesTheMarkedStarsAndTheCopiesShowMarked) {
    node(QStringLiteral("写真.jpg"))->marks |= MarkMarked;
    node(QStringLiteral("メモ.txt"))->marks |= MarkMarked;
    chooser.paths.push_back(folder.file(QStringLiteral("星座/銀河二")));
    EXPECT_TRUE(w->handleKey(Qt::Key_C, Qt::NoModifier, QStringLiteral("c")));
    EXPECT_EQ(chooser.pathRequests.back().title, "  コピー先の銀河を指定して下さい。");
    EXPECT_TRUE(fileExists(folder.file(QStringLiteral("星座/銀河二/写真.jpg"))));
    EXPECT_TRUE(fileExists(folder.file(QStringLiteral("星座/銀河二/メモ.txt"))));
    EXPECT_EQ(w->layout().rowCount(), 9);
    int markedRows = 0;
    for (int row = 0; row < w->layout().rowCount(); ++row)
        for (fileInfo* n = w->layout().firstOfRow(row); n; n = w->layout().nextInRow(n))
            if (n->marks & MarkMarked) ++markedRows;
    EXPECT_EQ(markedRows, 2) << "the copies are marked, the originals no longer";
    EXPECT_EQ(w->model().tree().root()->size, 5u + 1 + 3 + 2 + 5 + 3);
}

TEST_F(StarWindowTest, PopupOffersTheFileCommandsAndNewGalaxyOnlyOnAGalaxy) {
    w->cursor().setCurrent(node(QStringLiteral("メモ.txt")));
    QMenu menu;
    w->starCommands().fillMenu(menu);
    QStringList texts;
    for (QAction* a : menu.actions()) texts << a->text() + (a->isEnabled() ? "" : " (off)");
    EXPECT_EQ(texts, QStringList({"コピー(&C)", "移動(&M)", "削除(&K)", "名前の変更   (&N)", "銀河の作成 (&D) (off)", "",
                                  "イメージを開く (&I)", "星日時表示範囲設定"}));
}

TEST_F(StarWindowTest, ProfileViewerShowsThumbnailsOfAGalaxyAndAStarsPicture) {
    QImage big(640, 480, QImage::Format_RGB32);
    big.fill(QColor(200, 40, 40));
    QImage small(320, 240, QImage::Format_RGB32);
    small.fill(QColor(40, 40, 200));
    ASSERT_TRUE(big.save(folder.file(QStringLiteral("星座/銀河二/大.png"))));
    ASSERT_TRUE(small.save(folder.file(QStringLiteral("星座/銀河二/小.png"))));
    w->openPath(folder.file(QStringLiteral("星座")));
    ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return !w->opening(); }));
    NebuStarCommands& commands = w->starCommands();

    w->cursor().setCurrent(w->model().tree().root()); // its own star is メモ.txt
    commands.showImages();
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().text, "この銀河には、イメージ[星]がありません！ ");
    w->cursor().setCurrent(node(QStringLiteral("銀河二")));
    const std::size_t before = sink.records.size();
    commands.showImages();
    EXPECT_EQ(sink.records.size(), before) << "two pictures are shown without a question";
    TFormProf* prof = commands.profileViewer();
    ASSERT_NE(prof, nullptr);
    EXPECT_EQ(prof->thumbnailRects(), (std::vector<QRect>{QRect(10, 10, 64, 48), QRect(84, 10, 32, 24)}));
    prof->setZoom(20);
    EXPECT_EQ(prof->thumbnailRects()[0].size(), QSize(128, 96));
    prof->setZoom(1);
    EXPECT_EQ(prof->zoom(), 5);
    if (const QByteArray dir = qgetenv("VIMORA_SHOT_DIR"); !dir.isEmpty()) {
        prof->setZoom(20);
        w->grab().save(QString::fromUtf8(dir + "/profile_galaxy.png"));
    }

    w->cursor().setCurrent(node(QStringLiteral("大.png")));
    commands.showImages();
    EXPECT_EQ(prof->pictureSize(), QSize(640, 480));
    EXPECT_EQ(prof->sizeText(), "(640,480)");
    prof->toggleFloat();
    EXPECT_TRUE(prof->floating());
    prof->toggleFloat();
    EXPECT_FALSE(prof->floating());
}


} // namespace

namespace {

TEST(TFormFdate, FieldsShowTheStampsAndReadAWholeDayForADate) {
    TFormFdate form(20100503000000ULL, 30001231235959ULL, nullptr);
    EXPECT_EQ(form.windowTitle(), "ファイル日時表示範囲の設定");
    EXPECT_EQ(form.fromField()->text(), "2010/05/03 00:00:00");
    form.fromField()->setText(QStringLiteral("2010/05/03"));
    form.toField()->setText(QStringLiteral("2010/05/03"));
    EXPECT_EQ(form.fromStamp(), 20100503000000ULL);
    EXPECT_EQ(form.toStamp(), 20100503235959ULL);
}

} // namespace
