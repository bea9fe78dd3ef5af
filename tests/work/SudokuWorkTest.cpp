// A Sudoku work played with the window's keys in the drawn frames: entries with their wrong
// marks, and the last cell of a board whose completion is told on every change while it is full;
// and the same last cell played through vimora-run with the game pad open and its keys.
#include "VimoraRunProcess.h"
#include "WorkFixture.h"
#include "characters/sudokuInfo.h"

namespace {

class SudokuWorkTest : public WorkFixture {
protected:
    sudokuInfo* start(const QStringList& rows) {
        load(QStringList{"ANIME_SET:", "Sudoku:\"s\",3,3,100,20,20,20"} + rows +
             QStringList{"DotPtn:hito,1,1,0,0,0,0,0,1,1", ".", "SET_END:", "hito[0]: Sudoku=3", "Wait:300"});
        run->start();
        runTicks(3);
        return dynamic_cast<sudokuInfo*>(runner().animation().characters.at(0)->kind.get());
    }
    // The first row as digits, '.' for empty and 'x' for a marked entry.
    static QString firstRow(const SudokuBoard& b) {
        QString row;
        for (int c = 0; c < 9; ++c) row += b.markedWrong(c) ? QChar(u'x') : b.at(c) ? QChar(u'0' + b.at(c)) : QChar(u'.');
        return row;
    }
};

TEST_F(SudokuWorkTest, KeysOfTheWindowEnterDigitsWithTheirMarks) {
    sudokuInfo* game = start({"53..7....", "6..195...", ".98....6.", "8...6...3", "4..8.3..1", "7...2...6", ".6....28.",
                              "...419..5", "....8..79"});
    ASSERT_NE(game, nullptr);
    const struct {
        GameKey key;
        const char* firstRow;
    } steps[] = {
        {GameKey::Right, "53..7...."},         {GameKey::Right, "53..7...."},
        {GameKey::NextStage, "531.7...."},     {GameKey::Right, "531.7...."},
        {GameKey::NextStage, "53xx7...."},     // a 1 twice in the row, and under the given 1
        {GameKey::NextStage, "53127...."},     {GameKey::Left, "53127...."},
        {GameKey::NextStage, "53xx7...."},     // a 2 twice
        {GameKey::NextStage, "53x27...."},     // a 3 beside the given 3
    };
    for (const auto& s : steps) {
        press(s.key);
        EXPECT_EQ(runner().gameInput().key, GameKey::None);
        EXPECT_EQ(firstRow(game->board()), QString::fromLatin1(s.firstRow));
    }
    EXPECT_TRUE(dialogs().empty());
}

TEST_F(SudokuWorkTest, TheFullBoardIsToldOnEveryChange) {
    sudokuInfo* game = start({"534678912", "672195348", "198342567", "859761423", "426853791", "713924856", "961537284",
                              "287419635", "34528617."});
    ASSERT_NE(game, nullptr);
    for (int i = 0; i < 8; ++i) press(GameKey::Right);
    for (int i = 0; i < 8; ++i) press(GameKey::Down);
    for (int digit = 1; digit <= 9; ++digit) {
        press(GameKey::NextStage);
        EXPECT_EQ(game->board().at(80), digit);
        ASSERT_EQ(dialogs().size(), size_t(digit));
        EXPECT_EQ(dialogs().back().caption, QStringLiteral("数独"));
        EXPECT_EQ(dialogs().back().text, QStringLiteral("完成しました。"));
    }
    EXPECT_FALSE(game->board().markedWrong(80));
}

TEST(SudokuRunTest, VimoraRunFillsTheLastCellWithThePadOpenAndItsKeys) {
    TempFolder folder;
    const QString program = folder.write(
        "s.acmd", "ANIME_SET:\r\nSudoku:\"s\",3,3,100,20,20,20\r\n534678912\r\n672195348\r\n198342567\r\n859761423\r\n"
                  "426853791\r\n713924856\r\n961537284\r\n287419635\r\n34528617.\r\n"
                  "DotPtn:hito,1,1,0,0,0,0,0,1,1\r\n.\r\nSET_END:\r\nhito[0]: Sudoku=2\r\nWait:100\r\n");
    QStringList arguments{program, "--pad", "--ms", "9000", "--state", folder.file("s.json")};
    int at = 500;
    for (int i = 0; i < 8; ++i) arguments << "--key" << QStringLiteral("%1:39").arg(at += 200);
    for (int i = 0; i < 8; ++i) arguments << "--key" << QStringLiteral("%1:40").arg(at += 200);
    for (int i = 0; i < 9; ++i) arguments << "--key" << QStringLiteral("%1:107").arg(at += 200); // 1 to 9
    const VimoraRunOutcome o = vimoraRun(arguments);
    ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
    const QJsonObject state = readRunState(folder.file("s.json"));
    const QJsonObject game = firstGame(state);
    EXPECT_EQ(game["mode"].toInt(), 3) << "the open pad started user play";
    EXPECT_EQ(game["board"].toArray()[8].toString(), "345286179");
    const QJsonArray dialogs = state["dialogs"].toArray();
    ASSERT_EQ(dialogs.size(), 9);
    for (const QJsonValue& d : dialogs) {
        EXPECT_EQ(d.toObject()["caption"].toString(), "数独");
        EXPECT_EQ(d.toObject()["text"].toString(), "完成しました。");
    }
}

} // namespace
