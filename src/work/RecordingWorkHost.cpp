#include "RecordingWorkHost.h"

QString RecordingWorkHost::stamp() const {
    const qint64 ms = elapsed ? elapsed() : opened_.msecsTo(QDateTime::currentDateTime());
    return opened_.addMSecs(ms).toString(QStringLiteral("yyyy/MM/dd/hh:mm:ss"));
}

void RecordingWorkHost::addMessage(const QString& line) {
    messages.append(line);
    if (echo) echo(line);
}

void RecordingWorkHost::logViewing(ViewingEvent event, const QString& caption) {
    const qint64 ms = elapsed ? elapsed() : opened_.msecsTo(QDateTime::currentDateTime());
    const QDateTime now = opened_.addMSecs(ms);
    if (event == ViewingEvent::Started) {
        viewingStart_ = now;
        log.append(QStringLiteral("%1:「%2」の鑑賞開始.").arg(stamp(), caption));
    } else {
        const qint64 seconds = viewingStart_.secsTo(now);
        log.append(QStringLiteral("%1:「%2」の鑑賞終了.(%3 秒)").arg(stamp(), caption).arg(seconds, 4));
    }
}

void RecordingWorkHost::setMusic(int count, const QString& file, const QString& folder) {
    musicSet = true;
    music.count = count;
    music.file = file;
    music.folder = folder;
}
