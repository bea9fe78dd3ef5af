#include "ViewingLog.h"

QString ViewingLog::line(ViewingEvent event, const QString& caption) {
    const qint64 ms = elapsed ? elapsed() : opened_.msecsTo(QDateTime::currentDateTime());
    const QDateTime now = opened_.addMSecs(ms);
    const QString stamp = now.toString(QStringLiteral("yyyy/MM/dd/hh:mm:ss"));
    if (event == ViewingEvent::Started) {
        viewingStart_ = now;
        return QStringLiteral("%1:「%2」の鑑賞開始.").arg(stamp, caption);
    }
    const qint64 seconds = viewingStart_.secsTo(now);
    return QStringLiteral("%1:「%2」の鑑賞終了.(%3 秒)").arg(stamp, caption).arg(seconds, 4);
}
