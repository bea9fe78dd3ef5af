// An Atelier on a stand-in gallery: a 1264 x 675 exhibition area holding one work window that
// the Atelier edits. Message list lines go to the Atelier as the gallery hands them on.
#pragma once

#include "TestSupport.h"
#include "atelier/AtelierHost.h"
#include "atelier/TFormAtelier.h"
#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "work/TestKestoHost.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

class AtelierTestHost : public TestKestoHost, public AtelierHost {
public:
    AtelierTestHost() {
        gallery->resize(1264, 715);
        area->setGeometry(0, 40, 1264, 675);
    }
    TFormKesto* currentWindow() const override { return TestKestoHost::currentWindow(); }
    QWidget* exhibitionArea() const override { return area; }
    int paletteBottom() const override { return 82; }
    QString homeFolder() const override { return home; }
    QString& chooserFolder() override { return chooserStart; }
    bool loadByChooser(TFormKesto& window) override {
        bool chosen = false;
        const auto chooser = [&chosen](const QString& filter, const QString& title, const QString& start) {
            QString path;
            chosen = choosePath(filter, title, path, nullptr, start);
            return path;
        };
        const int loaded = window.runner().interpreter().chooseProgram(chooser, chooserStart);
        return chosen && loaded == 0;
    }
    void refreshWork(TFormKesto&) override { ++refreshes; }
    void atelierClosed() override { ++closings; }
    void addMessage(const QString& line) override {
        messages << line;
        if (atelier) atelier->noteMessage(line);
    }

    QString home = qEnvironmentVariable("VIMORA_HOME") + u'/';
    QString chooserStart;
    TFormAtelier* atelier = nullptr;
    QStringList messages;
    int refreshes = 0;
    int closings = 0;
};

class AtelierWindowTest : public testing::Test {
protected:
    // A work with a dot and a counting loop.
    static QByteArray work() {
        return "ANIME_SET:\r\ntheme:\"dot\"\r\ncanvas:center,300,200\r\nbgcolor:0,0,64\r\ncolor:1,255,255,0\r\n"
               "DotPtn:box,2,2,10,40,0,0,0,1,1,2,2\r\n11\r\n11\r\nSET_END:\r\nfor $i=1 to 3\r\nbox:X=$i*100\r\nnext\r\n";
    }
    void SetUp() override {
        host.gallery->show();
        window = std::make_unique<TFormKesto>(host);
        host.current = window.get();
        ASSERT_TRUE(window->openWork(folder.path() + u'/', writeWork()));
        window->runner().frameTick(); // a new window centres itself on its first frame
        atelier = std::make_unique<TFormAtelier>(host);
        host.atelier = atelier.get();
        atelier->open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.gallery.get()));
    }
    void TearDown() override {
        host.atelier = nullptr;
        atelier.reset();
        window.reset();
    }
    QString writeWork() {
        folder.write(u"work.acmd"_qs, work());
        return u"work.acmd"_qs;
    }
    WorkRunner& runner() { return window->runner(); }

    TempFolder folder;
    RecordingCheckSink checks;
    ScopedCheckSink scopedChecks{&checks};
    ScriptedChooserSink chooser;
    ScopedChooserSink scopedChooser{&chooser};
    AtelierTestHost host;
    std::unique_ptr<TFormKesto> window;
    std::unique_ptr<TFormAtelier> atelier;
};
