// The journey's window inside the tree window: opened from the tree window's entry once its scan
// is done, keys released on it, floating out and back, the close button, pictures during flight;
// and a `startrek` work run in a real work window through vimora-run.
#include "TestSupport.h"

#include "journey/TFormX3D.h"
#include "universe/TFormNebu.h"

#include "common/ShowCheck.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class JourneyWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    QWidget dock;

    void SetUp() override {
        for (int g = 0; g < 4; ++g)
            for (int s = 0; s < 12; ++s)
                folder.write(QStringLiteral("宇宙/銀河%1/星%2.txt").arg(g).arg(s), QByteArray(s + 1, 'x'));
        folder.write(QStringLiteral("宇宙/月.txt"), "1");
        dock.resize(1000, 600);
        dock.show();
    }

    TFormNebu* openNebu() {
        auto* w = new TFormNebu(folder.file(QStringLiteral("宇宙")), folder.path() + u'/', {}, &dock);
        w->show();
        EXPECT_TRUE(pumpUntil([w] { w->timerTick(); return !w->opening(); }));
        return w;
    }

    static void release(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(JourneyWindowTest, TheTreeWindowsEntryOpensTheJourneyThatFlies) {
    QPointer<TFormNebu> nebu = openNebu();
    QAction* entry = nullptr; // the main menu's "メタ宇宙の旅(&M)"
    for (QAction* a : nebu->findChildren<QAction*>())
        if (a->text() == QStringLiteral("メタ宇宙の旅(&M)")) entry = a;
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->isEnabled()); // nobody offers the journey yet
    nebu->setJourneyEntry([&nebu] { TFormX3D::openJourney(*nebu); });
    EXPECT_TRUE(entry->isEnabled());
    entry->trigger();
    QPointer<TFormX3D> x = TFormX3D::journeyOf(*nebu);
    ASSERT_TRUE(x);
    EXPECT_EQ(TFormX3D::journeyOf(*nebu), x.data());
    EXPECT_EQ(x->geometry(), QRect(QPoint(0, 0), nebu->size())); // fills the tree window
    StarJourney& j = x->journey();
    EXPECT_EQ(j.starCount(), 49);
    EXPECT_EQ(j.gates().size(), 1u);
    EXPECT_TRUE(j.panelText().startsWith(QStringLiteral("宇宙のかなた「イスカンダル」までの旅です. 途中で、1 局")));
    EXPECT_TRUE(x->timer().isActive());
    EXPECT_EQ(x->timer().interval(), 30);

    // Keys on release: the pad's 8 twice, the main row's 6 (left), "A" hands over to the autopilot.
    x->timerTick();
    release(x, Qt::Key_8, Qt::KeypadModifier);
    release(x, Qt::Key_8, Qt::KeypadModifier);
    release(x, Qt::Key_6);
    EXPECT_EQ(j.ship.vy, -3);
    EXPECT_EQ(j.ship.vx, -1);
    release(x, Qt::Key_A);
    EXPECT_TRUE(j.ship.autopilot);
    for (int i = 0; i < 100; ++i) x->timerTick();
    EXPECT_TRUE(j.messageVisible()); // "≪ 自動操縦 ≫ に切り替えます. " for 150 ticks
    EXPECT_TRUE(x->grab().save(QDir::current().filePath(QStringLiteral("journey_window_docked.png"))));
    for (int i = 0; i < 100; ++i) x->timerTick();
    EXPECT_FALSE(j.messageVisible());
    EXPECT_LT(j.ship.y, 200);
    EXPECT_TRUE(x->picture().save(QDir::current().filePath(QStringLiteral("journey_window_picture.png"))));

    // Out of the tree window and back.
    x->toggleFloat();
    EXPECT_TRUE(x->isFloating());
    EXPECT_EQ(j.floating(), 1);
    EXPECT_FALSE(j.messageVisible()); // the message box stays hidden while floating
    for (int i = 0; i < 60; ++i) x->timerTick();
    EXPECT_TRUE(x->grab().save(QDir::current().filePath(QStringLiteral("journey_window_floating.png"))));
    x->toggleFloat();
    EXPECT_FALSE(x->isFloating());
    EXPECT_EQ(x->parentWidget(), nebu.data());

    // "帰還", yes: a hundred ticks later the window closes and tells its opener.
    bool told = false;
    x->onFinished = [&told] { told = true; };
    sink.answers = {1};
    j.closeButton();
    EXPECT_TRUE(j.restartShown());
    for (int i = 0; i < 120 && x; ++i) {
        x->timerTick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(told);
    EXPECT_FALSE(x);
    nebu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(JourneyWindowTest, AJourneyOpenedWhileTheTreeIsScannedWaitsForIt) {
    auto* nebu = new TFormNebu(folder.file(QStringLiteral("宇宙")), folder.path() + u'/', {}, &dock);
    nebu->show();
    QPointer<TFormX3D> x = TFormX3D::openJourney(*nebu); // the scan has only begun
    EXPECT_TRUE(pumpUntil([&] { nebu->timerTick(); x->timerTick(); return x->journey().starCount() > 0; }));
    EXPECT_EQ(x->journey().starCount(), 49);
    EXPECT_TRUE(sink.records.empty()) << sink.records[0].text.toStdString();
    // A galaxies-only view leaves nothing to fly to: the journey says so.
    nebu->handleKey(Qt::Key_F, Qt::NoModifier, {});
    TFormX3D::openJourney(*nebu);
    EXPECT_EQ(x->journey().starCount(), 0);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, "メタ宇宙の旅");
    EXPECT_FALSE(x->timer().isActive());
    nebu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(JourneyWindowTest, AStartrekWorkOpensTheJourneyInItsWorkWindow) {
    // "宇宙" in code page 932 is 0x89 0x46 0x92 0x88.
    const QString program = folder.write(QStringLiteral("trek.acmd"),
                                         "ANIME_SET:\r\nstartrek:\"trek\",\"\x89\x46\x92\x88\"\r\nSET_END:\r\nWait:20\r\n");
    const QString png = QDir::current().filePath(QStringLiteral("journey_startrek_work.png"));
    QFile::remove(png);
    QProcess run;
    run.start(QStringLiteral(VIMORA_RUN_PATH), {program, QStringLiteral("--window"), QStringLiteral("--ms"), QStringLiteral("3000"),
                                                 QStringLiteral("--png"), png});
    ASSERT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAll().toStdString();
    QImage shot(png);
    ASSERT_FALSE(shot.isNull());
    // The journey's dark blue fills the tree window that fills the work's picture.
    int journey = 0, samples = 0;
    for (int y = 0; y < shot.height(); y += 8)
        for (int x = 0; x < shot.width(); x += 8, ++samples) journey += shot.pixel(x, y) == qRgb(0, 0, 48);
    EXPECT_GT(journey, samples / 4);
}

} // namespace
