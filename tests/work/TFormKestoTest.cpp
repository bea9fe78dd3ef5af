#include "TestSupport.h"
#include "TestKestoHost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

TEST(TFormKestoTest, RunsAWorkToItsEndWithRealTimers) {
    TempFolder folder;
    folder.write("move.acmd",
                 "ANIME_SET:\r\ncanvas:center,160,100\r\nbgcolor:0,0,64\r\ncolor:1,255,255,0\r\n"
                 "DotPtn:box,4,4,10,40,0,0,0,1,1,4,4\r\n1111\r\n1111\r\n1111\r\n1111\r\nSET_END:\r\n"
                 "AnimeTime:20\r\nbox:vX=60\r\nWait:10\r\nbox:vX=0\r\n");
    TestKestoHost host(false);
    TFormKesto window(host);
    ASSERT_TRUE(window.openWork(folder.path() + "/", "move.acmd"));
    EXPECT_TRUE(window.timerKesto().isActive());
    EXPECT_EQ(window.timerKesto().interval(), 10);
    QCoreApplication::processEvents();
    const QImage before = window.grab().toImage();

    window.runner().runProgram();
    EXPECT_TRUE(window.timerProg().isActive());
    EXPECT_EQ(window.timerProg().interval(), 100);
    QElapsedTimer clock;
    clock.start();
    while (window.runner().running() && clock.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(window.runner().running());
    EXPECT_EQ(window.runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_FALSE(window.timerProg().isActive());
    EXPECT_GE(window.runner().framesDrawn(), 10);
    EXPECT_GT(window.runner().animation().characters.front()->X, 100);
    QCoreApplication::processEvents();
    const QImage after = window.grab().toImage();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_NE(after, before);
    window.close();
    EXPECT_FALSE(window.timerKesto().isActive());
}

} // namespace
