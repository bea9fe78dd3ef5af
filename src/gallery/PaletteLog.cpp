#include "PaletteLog.h"

#include <QElapsedTimer>

#include <memory>

PaletteLog::Clock PaletteLog::systemClock() {
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    return {[] { return QDateTime::currentDateTime(); }, [since] { return since->elapsed(); }};
}

PaletteLog::PaletteLog(Clock clock) : clock_(std::move(clock)) {}

QString PaletteLog::stamp(const QDateTime& at) { return at.toString(QStringLiteral("yyyy/MM/dd/hh:mm:ss")); }

QString PaletteLog::line(int kind, const QString& text, const void* window) {
    const QDateTime now = clock_.now();
    const QString at = stamp(now);
    switch (kind) {
    case Opened:
        return QStringLiteral("%1: 開館.").arg(at);
    case GroupSet:
        return QStringLiteral("%1: 作品グループを「%2」に設定.").arg(at, text);
    case Shown:
        return QStringLiteral("%1:「%2」の展示.").arg(at, text);
    case ViewingStarted:
        viewingStart_ = now;
        started_[window] = clock_.monotonicMs();
        return QStringLiteral("%1:「%2」の鑑賞開始.").arg(at, text);
    case ViewingEnded: {
        // Each window counts from its own start: with several works running, the latest start of
        // any of them says nothing about this one. The monotonic clock keeps a clock change out.
        const auto start = started_.find(window);
        QString seconds = QStringLiteral("?");
        if (start != started_.end()) {
            seconds = QString::number((clock_.monotonicMs() - start->second) / 1000);
            started_.erase(start);
        }
        return QStringLiteral("%1:「%2」の鑑賞終了.(%3 秒)").arg(at, text, seconds.rightJustified(4));
    }
    case TourStarted:
        return QStringLiteral("%1:巡回開始.").arg(at);
    case TourEnded:
        return QStringLiteral("%1:巡回終了.").arg(at);
    case Loaded:
        return QStringLiteral("%1: %2 の読込.").arg(at, text);
    default:
        return {};
    }
}

QString PaletteLog::sizeLine(int width, int height) {
    return QStringLiteral("ギャラリーの広さ（ %1 , %2 )").arg(width).arg(height);
}

QString PaletteLog::runClickLine(int runCount, bool running) {
    return QStringLiteral("runClick %1 %2").arg(runCount).arg(running ? 1 : 0);
}
