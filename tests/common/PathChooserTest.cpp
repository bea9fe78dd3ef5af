// The program's own path chooser: its rows (big universe, path rows, filtered entries), presses,
// the path field, OK and Home, walked offscreen with keys and clicks; and the drive log window.
#include "TestSupport.h"

#include "common/PathChooser.h"
#include "common/ShowCheck.h"
#include "common/TFormFlog.h"
#include "common/TFormPath.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

class PathChooserTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    QString data;
    std::vector<DriveInfo> drives;

    void SetUp() override {
        folder.write(QStringLiteral("data/a.nebu"), "1");
        folder.write(QStringLiteral("data/B.NEBU"), "2");
        folder.write(QStringLiteral("data/c.txt"), "3");
        folder.write(QStringLiteral("data/sub/x.nebu"), "4");
        folder.write(QStringLiteral("data/empty/.keep-out"), "");
        ::unlink(folder.file(QStringLiteral("data/empty/.keep-out")).toUtf8().constData());
        [[maybe_unused]] const int r =
            ::symlink("sub", folder.file(QStringLiteral("data/linked")).toUtf8().constData());
        data = folder.file(QStringLiteral("data/"));
        drives = {{QStringLiteral("/"), QStringLiteral("/dev/root"), QStringLiteral("ext4"), DriveKind::Fixed},
                  {QStringLiteral("/no-such-drive/"), QStringLiteral("/dev/sdz"), QStringLiteral("vfat"), DriveKind::Removable}};
    }
    QStringList rows(const PathChooser& c) const {
        QStringList out;
        for (int r = 0; r < c.rowCount(); ++r) out << c.rowText(r);
        return out;
    }
    // The rows from the first entry on.
    QStringList entries(const PathChooser& c) const { return rows(c).mid(c.fixedRows()); }
};

TEST_F(PathChooserTest, RowsShowTheChainAndTheFilteredContent) {
    PathChooser c(QStringLiteral("*.nebu"), data, {}, drives);
    EXPECT_EQ(c.caption(), "[星]の選択");
    EXPECT_EQ(c.fixedRows(), 1 + data.count(u'/'));
    EXPECT_EQ(c.rowText(0), " 大宇宙 ");
    EXPECT_EQ(c.rowText(1), "/");
    EXPECT_EQ(c.rowText(c.fixedRows() - 1), "<data>");
    EXPECT_TRUE(c.highlighted(c.fixedRows() - 1, 0)) << "the folder itself is the choice";
    EXPECT_FALSE(c.highlighted(0, 0));
    EXPECT_EQ(entries(c), QStringList({"a.nebu", "B.NEBU", "<empty>", "<linked>", "<sub>"}));

    PathChooser folders({}, data, {}, drives);
    EXPECT_EQ(folders.caption(), "銀河の選択");
    EXPECT_EQ(entries(folders), QStringList({"<empty>", "<linked>", "<sub>"})) << "no files without a filter";

    PathChooser top({}, QStringLiteral("/"), {}, drives);
    EXPECT_EQ(top.rowText(1), " / ") << "the drive alone is framed by spaces";
}

TEST_F(PathChooserTest, PressesWalkDrivesFoldersAndFiles) {
    PathChooser c(QStringLiteral("*.nebu;*.txt"), data, {}, drives);
    const int first = c.firstEntryRow();
    // Two files one after the other: the second's name stays, the folder stays listed.
    EXPECT_TRUE(c.press(first));
    EXPECT_TRUE(c.press(first + 2));
    EXPECT_EQ(c.path(), data + "c.txt");
    EXPECT_EQ(c.firstEntryRow(), first);
    EXPECT_TRUE(c.highlighted(first + 2, 0));
    EXPECT_FALSE(c.highlighted(c.fixedRows() - 1, 0));
    // A folder entry opens it; the link to a folder is entered like one.
    EXPECT_TRUE(c.press(first + 4)); // <linked>
    EXPECT_EQ(c.path(), data + "linked/");
    EXPECT_EQ(entries(c), QStringList({"x.nebu"}));
    // An empty folder and a missing one say so, and their placeholder cannot be picked.
    c.editPath(data + "empty/");
    EXPECT_EQ(entries(c), QStringList({"銀河なし"}));
    EXPECT_FALSE(c.press(c.firstEntryRow()));
    EXPECT_EQ(c.path(), data + "empty/");
    c.editPath(data + "gone/");
    EXPECT_EQ(entries(c), QStringList({"現在は使用不可"}));
    // The drive's path row cuts the path to the drive; row 0 lists the drives.
    EXPECT_TRUE(c.press(1));
    EXPECT_EQ(c.path(), "/");
    EXPECT_TRUE(c.press(0));
    EXPECT_EQ(c.path(), "");
    EXPECT_EQ(c.fixedRows(), 1);
    EXPECT_TRUE(c.highlighted(0, 0));
    EXPECT_EQ(entries(c), QStringList({" / ", " /no-such-drive/ 脱可(今不可)"}));
    EXPECT_TRUE(c.press(1));
    EXPECT_EQ(c.path(), "/");
    EXPECT_EQ(c.fixedRows(), 2);
}

TEST_F(PathChooserTest, OkWithoutAPickedFileSaysSoAndHomeGoesHome) {
    PathChooser c(QStringLiteral("*.nebu"), data, data + "sub/", drives);
    EXPECT_FALSE(c.accept());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "ファイルが指定されていません！");
    EXPECT_EQ(sink.records[0].caption, data);
    EXPECT_TRUE(c.goHome());
    EXPECT_EQ(c.path(), data + "sub/");
    EXPECT_TRUE(c.press(c.firstEntryRow()));
    EXPECT_TRUE(c.accept());
    PathChooser folderChoice({}, data, {}, drives);
    EXPECT_TRUE(folderChoice.accept()) << "a folder chooser takes the folder";
    EXPECT_FALSE(folderChoice.goHome());
}

void key(QWidget* target, int k, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
}
void click(QWidget* target, QPoint at, bool twice = false) {
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    if (!twice) return;
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dbl);
}

TEST_F(PathChooserTest, WindowIsWalkedWithKeysAndClicks) {
    QWidget owner;
    owner.resize(900, 700);
    TFormPath form(QStringLiteral("*.nebu"), QStringLiteral("  星座データを指定して下さい。"), data, &owner,
                   data + "sub/", drives);
    form.show();
    EXPECT_EQ(form.windowTitle(), "[星]の選択");
    PathChooser& m = form.model();
    QWidget* grid = form.grid();
    QWidget* viewport = grid->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
    ASSERT_NE(viewport, nullptr);
    EXPECT_EQ(form.height(), 22 * m.rowCount() + 148);
    EXPECT_FALSE(form.scrollColumnShown());

    // Keys: down to <sub>, Space enters it, Down to x.nebu, Enter chooses it.
    grid->setFocus();
    const int subRow = m.firstEntryRow() + 4;
    for (int i = form.currentRow(); i < subRow; ++i) key(grid, Qt::Key_Down);
    EXPECT_EQ(form.currentRow(), subRow);
    key(grid, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(m.path(), data + "sub/");
    EXPECT_EQ(form.pathField()->text(), data + "sub/");
    if (const QByteArray dir = qgetenv("VIMORA_SHOT_DIR"); !dir.isEmpty())
        form.grab().save(QString::fromUtf8(dir + "/path_chooser.png"));
    key(grid, Qt::Key_Down);
    key(grid, Qt::Key_Return);
    EXPECT_TRUE(form.done());
    EXPECT_EQ(form.chosenPath(), data + "sub/x.nebu");
}

TEST_F(PathChooserTest, WindowClicksDrivesAndTheFieldAndOkRefusesAFolder) {
    QWidget owner;
    owner.resize(900, 700);
    TFormPath form(QStringLiteral("*.nebu"), QStringLiteral("  星座データ"), data, &owner, {}, drives);
    form.show();
    QWidget* viewport = form.grid()->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
    ASSERT_NE(viewport, nullptr);
    EXPECT_FALSE(form.homeButton()->isEnabled());
    form.okClicked();
    EXPECT_FALSE(form.done());
    EXPECT_EQ(sink.records.back().text, "ファイルが指定されていません！");
    EXPECT_EQ(form.currentRow(), form.model().firstEntryRow());

    click(viewport, QPoint(20, 5)); // row 0: the drives
    EXPECT_EQ(form.model().path(), "");
    EXPECT_EQ(form.model().rowCount(), 3);
    click(viewport, QPoint(20, 22 + 5)); // the drive "/"
    EXPECT_EQ(form.pathField()->text(), "/");

    // Typing in the field lists what it names; a double click takes the field's path.
    form.pathField()->setText(data);
    emit form.pathField()->textEdited(data);
    EXPECT_EQ(form.model().path(), data);
    const int row = form.model().firstEntryRow() + 1; // B.NEBU
    click(viewport, QPoint(60, 22 * row + 5), true);
    EXPECT_TRUE(form.done());
    EXPECT_EQ(form.chosenPath(), data + "B.NEBU");
}

TEST_F(PathChooserTest, LongListsAreBoundedAndScrollFromTheRightColumn) {
    for (int i = 0; i < 40; ++i) folder.write(QStringLiteral("many/f%1.nebu").arg(i, 2, 10, QChar(u'0')), "x");
    QWidget owner;
    owner.resize(900, 500);
    TFormPath form(QStringLiteral("*.nebu"), QStringLiteral("多い"), folder.file(QStringLiteral("many/")), &owner, {}, drives);
    form.show();
    EXPECT_EQ(form.height(), 500 - 50);
    EXPECT_TRUE(form.scrollColumnShown());
    form.reject();
    EXPECT_EQ(form.chosenPath(), "") << "closed without OK: nothing chosen";
}

TEST(TFormFlog, TicksDrivesAndHasTheHeightOfItsItems) {
    for (const auto& [count, height] : {std::pair{3, 213}, std::pair{15, 480}}) {
        QStringList drives;
        for (int i = 0; i < count; ++i) drives << QStringLiteral("/d%1/").arg(i);
        TFormFlog form(drives, nullptr);
        EXPECT_EQ(form.height(), height) << count;
        EXPECT_EQ(form.ticked(), drives);
    }
    TFormFlog form({QStringLiteral("/"), QStringLiteral("/home/"), QStringLiteral("/mnt/")}, nullptr);
    form.list()->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(form.ticked(), QStringList({"/", "/mnt/"}));
}

} // namespace
