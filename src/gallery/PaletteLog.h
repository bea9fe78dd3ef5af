// The texts of the palette's viewing log: time-stamped lines of eight fixed kinds and two lines without a
// stamp. The clocks are injected, so that the lines can be checked against a fixed time: the wall
// clock gives the "yyyy/mm/dd/hh:nn:ss" stamp, a monotonic clock the seconds of a viewing.
#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <map>

class PaletteLog {
public:
    // The kind codes of the stamped lines.
    enum Kind {
        Opened = 0,         // "%s: 開館."
        GroupSet = 1,       // "%s: 作品グループを「%s」に設定."
        Shown = 2,          // "%s:「%s」の展示."
        ViewingStarted = 3, // "%s:「%s」の鑑賞開始."
        ViewingEnded = 4,   // "%s:「%s」の鑑賞終了.(%4d 秒)"
        TourStarted = 5,    // "%s:巡回開始."
        TourEnded = 6,      // "%s:巡回終了."
        Loaded = 7,         // "%s: %s の読込."
    };

    struct Clock {
        std::function<QDateTime()> now;         // local date and time, for the stamp
        std::function<qint64()> monotonicMs;    // never goes back, for the seconds of a viewing
    };
    // The machine's clocks.
    static Clock systemClock();

    explicit PaletteLog(Clock clock = systemClock());

    // One stamped line of `kind` with `text` (a group title, a caption, a load text; ignored by
    // the kinds that take none). `window` names the work window of a viewing: a start notes the
    // time for that window, an end counts the whole seconds since that window's own start (a
    // window whose start was never logged shows "?" in the seconds field) and forgets it. An
    // unknown kind gives an empty text. Cost: constant.
    QString line(int kind, const QString& text = {}, const void* window = nullptr);

    // "ギャラリーの広さ（ %d , %d )": the screen size, written at the palette's creation.
    static QString sizeLine(int width, int height);
    // "runClick %d %d": a click on the gallery's run image with the run count and running flag.
    static QString runClickLine(int runCount, bool running);

    // The date-time of the latest viewing-started line (invalid before the first).
    QDateTime viewingStart() const { return viewingStart_; }
    // "yyyy/mm/dd/hh:nn:ss" of `at`.
    static QString stamp(const QDateTime& at);

private:
    Clock clock_;
    QDateTime viewingStart_;
    std::map<const void*, qint64> started_; // monotonic start of each window's running viewing
};
