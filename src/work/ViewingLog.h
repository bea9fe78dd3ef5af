// The lines of the viewing log that a work window writes, with their time stamps and the seconds
// of a viewing, for the hosts that keep or print the log themselves.
#pragma once

#include "WorkHost.h"

#include <QDateTime>
#include <QString>

#include <functional>

class ViewingLog {
public:
    // Milliseconds since the log was made, for the time stamps (a virtual clock when set).
    std::function<qint64()> elapsed;

    // The line of an event: "yyyy/mm/dd/hh:nn:ss:「caption」の鑑賞開始." or, for the end, with the
    // whole seconds since the last start right-aligned in four places. A start becomes the
    // viewing start time. Cost: formatting one line.
    QString line(ViewingEvent event, const QString& caption);

private:
    QDateTime opened_ = QDateTime::currentDateTime();
    QDateTime viewingStart_ = opened_;
};
