// A palette and gallery without windows: it records what a work window would show on the
// palette, in the viewing log, the music player and the chart, and keeps the gallery's stop flag,
// for the headless runner and the tests. The work is the palette's current window.
#pragma once

#include "ViewingLog.h"
#include "WorkHost.h"

#include <QStringList>

#include <functional>

class RecordingWorkHost : public WorkHost {
public:
    struct Music {
        int count = 0;
        QString file;   // the file name and the folder it was given with
        QString folder;
        int starts = 0; // requests to play
        int stops = 0;
    };

    // Milliseconds since the host was made, for the viewing log (a virtual clock when set).
    std::function<qint64()> elapsed;
    // Hears every message list line as it is added.
    std::function<void(const QString&)> echo;

    bool isCurrentWindow(const WorkRunner&) const override { return current; }
    int paletteFramePeriod() const override { return framePeriod; }
    void framePeriodChanged(int milliseconds) override { framePeriod = milliseconds; }
    void showCommandLine(const QString& text) override { commandLine = text; }
    void showProgramInterval(const QString& text) override { programInterval = text; }
    void updateRunButton(bool on) override { runButton = on; }
    void addMessage(const QString& line) override;
    void showCameraStatus(const QString& text) override { cameraStatus = text; }
    bool presentAll() const override { return presentAllWorks; }
    void logViewing(ViewingEvent event, const WorkRunner& window, const QString& caption) override;
    int stopFlag() const override { return stop; }
    void setStopFlag(int flag) override { stop = flag; }
    void runEnded(WorkRunner&) override { ++runsEnded; }
    void runNotStarted(WorkRunner&) override { ++runsNotStarted; }
    bool hasMusic() const override { return !music.file.isEmpty(); }
    void setMusic(int count, const QString& file, const QString& folder) override {
        music.count = count;
        music.file = file;
        music.folder = folder;
    }
    void setMusicCount(int count) override { music.count = count; }
    void startMusic() override { ++music.starts; }
    void stopMusic() override { ++music.stops; }
    void chartChanged(const WorkRunner&) override { ++chartChanges; }

    bool current = true;
    bool presentAllWorks = false;
    int framePeriod = 100;
    int stop = 0;
    QString commandLine;
    QString programInterval;
    QString cameraStatus;
    bool runButton = false;
    QStringList messages;
    QStringList log;
    int runsEnded = 0;
    int runsNotStarted = 0;
    Music music;
    int chartChanges = 0;

private:
    ViewingLog viewing_;
};
