#include "ConsoleWorkHost.h"

#include "TFormKesto.h"

#include <QTimer>

#include <cstdio>

namespace {
void printLine(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}
} // namespace

void ConsoleWorkHost::setWindow(TFormKesto* window) { window_ = window; }

void ConsoleWorkHost::addMessage(const QString& line) { printLine(line); }

void ConsoleWorkHost::logViewing(ViewingEvent event, const WorkRunner&, const QString& caption) { printLine(viewing_.line(event, caption)); }

TFormKesto* ConsoleWorkHost::currentWindow() const { return window_.data(); }

void ConsoleWorkHost::requestClose(TFormKesto& window) {
    QPointer<TFormKesto> closing(&window);
    QTimer::singleShot(0, [closing] {
        if (closing) closing->close();
    });
}

void ConsoleWorkHost::requestRunToggle(TFormKesto& window) {
    printLine(window.runner().running() ? QStringLiteral("作品鑑賞を中断します") : QStringLiteral("鑑賞の準備中です"));
    QPointer<TFormKesto> toggled(&window);
    QTimer::singleShot(0, [toggled] {
        if (toggled) toggled->runner().toggleRun();
    });
}

void ConsoleWorkHost::toggleMusic() { printLine(QStringLiteral("♪")); }
