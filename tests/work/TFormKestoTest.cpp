#include "TestSupport.h"
#include "TestKestoHost.h"
#include "common/ShowCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <vector>

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

// Notes, when a message window opens, whether the window's timers still run behind it.
class TimerWatchingSink : public CheckSink {
public:
    explicit TimerWatchingSink(TFormKesto& window) : window_(window) {}
    int show(const QString&, const QString& caption, int) override {
        captions.append(caption);
        timersRunning.push_back(window_.timerKesto().isActive() || window_.timerProg().isActive());
        return 0;
    }
    QStringList captions;
    std::vector<bool> timersRunning;

private:
    TFormKesto& window_;
};

TEST(TFormKestoTest, AProgramFaultStopsTheAnimationBeforeItsMessageOpens) {
    TempFolder folder;
    folder.write("fault.acmd", "ANIME_SET:\r\nDotPtn:box,1,1,10,40,0,0,0,1,1\r\n1\r\nSET_END:\r\n"
                               "box:vX=5\r\n$b=1%0\r\n$c=1\r\n");
    TestKestoHost host(false);
    TFormKesto window(host);
    ASSERT_TRUE(window.openWork(folder.path() + "/", "fault.acmd"));
    TimerWatchingSink sink(window);
    ScopedCheckSink installed(&sink);
    window.runner().runProgram();
    QElapsedTimer clock;
    clock.start();
    while (sink.captions.isEmpty() && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(sink.captions, QStringList{u"ヴィモラアートの実行エラー！"_qs});
    EXPECT_FALSE(sink.timersRunning.front()) << "nothing animates behind the fault's message";
    EXPECT_EQ(host.stop & 4, 4) << "the stop flag is up before the message too";
    EXPECT_EQ(window.runner().lastRunEnd(), WorkRunner::RunEnd::Fault);
}

} // namespace
