// vimora-run: runs a work headless on a virtual clock, or with --window in a real work window.
#include "HeadlessRun.h"
#include "PlayInputFeed.h"
#include "anime/AnimeInfo.h"
#include "characters/BoardGame.h"
#include "RunOptions.h"
#include "ConsoleWorkHost.h"
#include "TFormKesto.h"
#include "common/Random.h"
#include "common/WidgetCheckSink.h"

#include "common/Platform.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

void printLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Whether a character waits in game mode 2 for the game pad.
bool hasWaitingPlayer(const AnimeState& animation) {
    for (const auto& c : animation.characters)
        if (c->chaseMode == GameMode::Waiting &&
            std::any_of(c->games.begin(), c->games.end(), [](const AnimeInfo* g) { return g != nullptr; }))
            return true;
    return false;
}

int runInWindow(const RunOptions& options) {
    ConsoleWorkHost host;
    WidgetCheckSink dialogs;
    ScopedCheckSink installed(&dialogs);
    if (options.seed) vimoraSeed(*options.seed);
    TFormKesto window(host);
    host.setWindow(&window);
    const qsizetype cut = options.program.lastIndexOf(u'/');
    if (!window.openWork(options.program.left(cut + 1), options.program.mid(cut + 1))) return 2;
    if (!options.noRun) window.runner().runProgram();
    QElapsedTimer clock;
    clock.start();
    // Play inputs come on the real clock; --pad presses "プレイ" once a player waits for it.
    PlayInputFeed feed(options.inputs);
    QTimer play;
    bool padOpened = false;
    int framesSeen = 0;
    QObject::connect(&play, &QTimer::timeout, [&] {
        WorkRunner& runner = window.runner();
        if (options.pad && !padOpened && hasWaitingPlayer(runner.animation())) {
            window.toggleGamePad();
            padOpened = true;
        }
        feed.deliverDue(int(clock.elapsed()), runner);
        if (runner.framesDrawn() != framesSeen) {
            framesSeen = runner.framesDrawn();
            feed.frameDrawn(runner);
        }
    });
    if (options.pad || !options.inputs.empty()) play.start(WorkRunner::kFrameTimerInterval);
    // With --png or --ms the window closes itself when the program has ended or the time is
    // over; --png then holds the window as it was shown.
    QTimer watch;
    if (!options.png.isEmpty() || options.milliseconds >= 0) {
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const bool ended = !options.noRun && !window.runner().running();
            if (!ended && clock.elapsed() < options.simulatedMilliseconds()) return;
            watch.stop();
            if (!options.png.isEmpty()) {
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                window.grab().save(&buffer, "PNG");
                if (!writeFileAtomic(options.png, bytes)) printLine(QStringLiteral("vimora-run: cannot write %1").arg(options.png));
            }
            window.close();
        });
        watch.start(100);
    }
    const int status = QApplication::exec();
    const WorkRunner::RunEnd end = window.runner().lastRunEnd();
    return status == 0 && end != WorkRunner::RunEnd::CommandError && end != WorkRunner::RunEnd::Fault &&
                   end != WorkRunner::RunEnd::StatusError && !window.runner().interpreter().blockFailed
               ? 0
               : 1;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    QString error;
    const std::optional<RunOptions> options = RunOptions::parse(arguments, &error);
    if (!options) {
        std::fprintf(stderr, "vimora-run: %s\n%s", error.toUtf8().constData(), RunOptions::usage().toUtf8().constData());
        return 2;
    }
    if (options->help) {
        std::fputs(RunOptions::usage().toUtf8().constData(), stdout);
        return 0;
    }
    if (!options->window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (options->window) return runInWindow(*options);
    HeadlessRun run(*options, printLine);
    if (!run.load()) {
        run.writeOutputs();
        return 2;
    }
    run.run();
    run.writeOutputs();
    return run.exitStatus();
}
