// The tile-matching game played through vimora-run: clicks on a 2 x 2 board of one kind clear it
// with the message and a fresh deal; the bundled sample's demonstration takes its board's tiles.
#include "TestSupport.h"
#include "VimoraRunProcess.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(NikakuRunTest, VimoraRunClearsABoardByClicks) {
    TempFolder folder;
    // Tiles of 40 x 56 pixels; the board's top left is at (100, 88) of the 320 x 200 picture. All
    // four tiles are of one kind, so any two on a row or column match whatever the deal.
    const QString program = folder.write(
        "hai.acmd", "ANIME_SET:\r\ncanvas:center,320,200\r\nNikaku:\"hai\",2,2,100,0,40,56\r\n"
                    "DotPtn:te,1,1,0,0,0,0,0,1,1\r\n.\r\nSET_END:\r\nte[0]: Nikaku=2\r\nWait:100\r\n");
    const QStringList clicks{"--click", "500:120,116", "--click", "700:160,116",  // the top row
                             "--click", "900:120,172", "--click", "1100:160,172"}; // the bottom row
    const struct {
        int milliseconds;
        QStringList board;
        int pairs;
        int dialogs;
    } cases[] = {
        {800, {"..", "00"}, 1, 0},
        {1500, {"00", "00"}, 0, 1},
    };
    for (const auto& c : cases) {
        const VimoraRunOutcome o = vimoraRun(QStringList{program, "--pad", "--ms", QString::number(c.milliseconds),
                                                         "--state", folder.file("s.json")} + clicks);
        ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
        const QJsonObject state = readRunState(folder.file("s.json"));
        const QJsonObject game = firstGame(state);
        EXPECT_EQ(game["mode"].toInt(), 3);
        EXPECT_EQ(game["moves"].toInt(), c.pairs);
        QStringList board;
        for (const QJsonValue& row : game["board"].toArray()) board << row.toString();
        EXPECT_EQ(board, c.board) << c.milliseconds;
        const QJsonArray dialogs = state["dialogs"].toArray();
        ASSERT_EQ(dialogs.size(), c.dialogs);
        if (c.dialogs > 0) {
            EXPECT_EQ(dialogs[0].toObject()["caption"].toString(), "二角取り");
            EXPECT_EQ(dialogs[0].toObject()["text"].toString(), "全てクリアーしました。");
        }
    }
}

TEST(NikakuRunTest, TheSamplesDemonstrationTakesEveryTileOfItsBoard) {
    TempFolder folder;
    const QString home = qEnvironmentVariable("VIMORA_HOME");
    const VimoraRunOutcome o =
        vimoraRun({home + QStringLiteral("/renshu/nikaku.acmd"), "--ms", "8000", "--state", folder.file("s.json")});
    ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
    const QJsonObject game = firstGame(readRunState(folder.file("s.json")));
    EXPECT_EQ(game["mode"].toInt(), 0) << "the demonstration is over";
    EXPECT_EQ(game["board"].toArray(), (QJsonArray{"....", "...."}));
}

} // namespace
