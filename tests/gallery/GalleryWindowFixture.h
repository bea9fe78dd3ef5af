// The gallery on the bundled home folder, shown offscreen, with every message recorded and the
// viewing log on clocks the test controls.
#pragma once

#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "gallery/TfVimora.h"
#include "gallery/WorksGrid.h"
#include "work/TFormKesto.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <gtest/gtest.h>


class GalleryWindow : public ::testing::Test {
protected:
    static GallerySettings bundledHome() {
        GallerySettings settings;
        settings.homeFolder = QDir(qEnvironmentVariable("VIMORA_HOME")).absolutePath() + u'/';
        return settings;
    }
    void SetUp() override { gallery.show(); }

    // Lets the timers run until `done` holds or `ms` pass; returns whether it held.
    template <typename Done>
    bool waitFor(Done done, int ms = 10000) {
        return pumpUntil(done, ms);
    }
    bool loaded() { return gallery.state().pendingRow() < 0 && !gallery.workWindow().runner().interpreter().statements.empty(); }
    void release(int row) {
        WorksGrid& grid = gallery.worksGrid();
        const QPointF at = grid.rowRect(row).center();
        QMouseEvent up(QEvent::MouseButtonRelease, at, grid.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid, &up);
    }
    // The last work row of the catalog (in the last group).
    int lastWorkRow() {
        Catalog& catalog = gallery.state().catalog();
        for (int row = catalog.rowCount() - 1; row >= 0; --row)
            if (catalog.rowToEntry(row).work) return row;
        return -1;
    }

    // The viewing log's clocks: a fixed wall clock and a monotonic one the test moves.
    PaletteLog::Clock testClock() {
        return {[this] { return wall; }, [this] { return monotonic; }};
    }

    QDateTime wall{QDate(2026, 3, 7), QTime(9, 5, 4)};
    qint64 monotonic = 0;
    RecordingCheckSink messages;
    ScopedCheckSink installed{&messages};
    KestoHost spareHost; // the host of windows a test adds beside the gallery's own
    TfVimora gallery{bundledHome(), nullptr, testClock()};
};

