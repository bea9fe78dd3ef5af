#include "RecordingWorkHost.h"

void RecordingWorkHost::addMessage(const QString& line) {
    messages.append(line);
    if (echo) echo(line);
}

void RecordingWorkHost::logViewing(ViewingEvent event, const WorkRunner&, const QString& caption) {
    viewing_.elapsed = elapsed;
    log.append(viewing_.line(event, caption));
}
