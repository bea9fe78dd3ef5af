// A work that plays the number-linking game through vimora-run as a user would: the pad opens, a
// drag from a number draws its path, a click and arrow keys draw the other, and the linked map
// shows its message and starts over.
#include "TestSupport.h"
#include "VimoraRunProcess.h"

#include <gtest/gtest.h>

namespace {

TEST(NumLinkRunTest, VimoraRunPlaysAWholeMapByDragClickAndKeys) {
    TempFolder folder;
    // Cells of 30 pixels; the board's top left is at (100, 90) of the 320 x 200 picture.
    const QString program = folder.write(
        "link.acmd", "ANIME_SET:\r\ncanvas:center,320,200\r\nNumLink:\"k\",4,2,100,50,30,30\r\n1..1\r\n2..2\r\n"
                     "DotPtn:hito,1,1,0,0,0,0,0,1,1\r\n.\r\nSET_END:\r\nhito[0]: NumLink=2\r\nWait:100\r\n");
    const QStringList play{"--drag", "500:115,105-205,105", // from 1 along the top row to the other 1
                           "--click", "2500:205,135",       // 2 at the right: the pen is down
                           "--key", "2700:37", "--key", "2900:37", "--key", "3100:37"};
    const struct {
        int milliseconds;
        QStringList board;
        int linkedCells;
        int dialogs;
    } cases[] = {
        {2600, {"1aa1", "2..2"}, 2, 0},
        {4000, {"1..1", "2..2"}, 0, 1}, // linked: the map starts over
    };
    for (const auto& c : cases) {
        const VimoraRunOutcome o = vimoraRun(QStringList{program, "--pad", "--ms", QString::number(c.milliseconds),
                                                         "--state", folder.file("s.json")} + play);
        ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
        const QJsonObject state = readRunState(folder.file("s.json"));
        const QJsonObject game = firstGame(state);
        EXPECT_EQ(game["mode"].toInt(), 3);
        EXPECT_EQ(game["stage"].toInt(), 1);
        EXPECT_EQ(game["moves"].toInt(), c.linkedCells);
        QStringList board;
        for (const QJsonValue& row : game["board"].toArray()) board << row.toString();
        EXPECT_EQ(board, c.board) << c.milliseconds;
        const QJsonArray dialogs = state["dialogs"].toArray();
        ASSERT_EQ(dialogs.size(), c.dialogs);
        if (c.dialogs > 0) {
            EXPECT_EQ(dialogs[0].toObject()["caption"].toString(), "第1マップの数字はリンクされました！");
            EXPECT_EQ(dialogs[0].toObject()["text"].toString(), "全てのマップがリンクされました。");
        }
    }
}

// The bundled sample shows its demonstration first: it links both maps by itself.
TEST(NumLinkRunTest, TheSampleWorksDemonstrationLinksItsMaps) {
    TempFolder folder;
    const QString program = qEnvironmentVariable("VIMORA_HOME") + QStringLiteral("/renshu/numlink.acmd");
    const VimoraRunOutcome o = vimoraRun({program, "--ms", "19000", "--state", folder.file("s.json")});
    ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
    const QJsonObject game = firstGame(readRunState(folder.file("s.json")));
    EXPECT_EQ(game["mode"].toInt(), 0) << "the demonstration is over";
    EXPECT_EQ(game["stage"].toInt(), 3) << "after both maps";
    EXPECT_EQ(game["stages"].toInt(), 2);
}

} // namespace
