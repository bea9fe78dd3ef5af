#include "StandInHost.h"

#include <cstdio>

namespace {
void printLine(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}
} // namespace

StandInHost::StandInHost() { echo = printLine; }

void StandInHost::paintWindowFrame(uint32_t color) {
    RecordingWorkHost::paintWindowFrame(color);
    if (window_) window_->update();
}

void StandInHost::logViewing(ViewingEvent event, const QString& caption) {
    RecordingWorkHost::logViewing(event, caption);
    printLine(log.back());
}
