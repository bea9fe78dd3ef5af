#include "HeadlessRun.h"

#include "common/Fetch.h"
#include "common/FrameSequenceWriter.h"
#include "common/Platform.h"
#include "common/Random.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QByteArray pngBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

QJsonArray toArray(const QStringList& lines) {
    QJsonArray a;
    for (const QString& line : lines) a.append(line);
    return a;
}

} // namespace

HeadlessRun::HeadlessRun(RunOptions options, std::function<void(const QString&)> print)
    : options_(std::move(options)), print_(std::move(print)), installed_(&sink_), feed_(options_.inputs) {
    sink_.defaultAnswer = options_.answer;
    sink_.echo = [this](const RecordingCheckSink::Record& r) { say(r.caption + QStringLiteral(": ") + r.text); };
    host_.echo = [this](const QString& line) { say(line); };
    host_.elapsed = [this] { return qint64(now_); };
    if (options_.seed) vimoraSeed(*options_.seed);
    runner_ = std::make_unique<WorkRunner>(host_, host_, window_);
    runner_->onTimersChanged = [this] { timersChanged(); };
    if (!options_.framesDir.isEmpty()) runner_->onFrameDrawn = [this] { frameDrawn(); };
    if (options_.width > 0) runner_->setFixedPictureSize(options_.width, options_.height);
    window_.opensPad = options_.pad;
}

HeadlessRun::~HeadlessRun() = default;

void HeadlessRun::say(const QString& line) const {
    if (print_) print_(line);
}

bool HeadlessRun::load() {
    const QString& program = options_.program;
    const qsizetype cut = std::max(program.lastIndexOf(u'/'), program.lastIndexOf(u'\\'));
    const QString folder = program.left(cut + 1);
    const QString file = program.mid(cut + 1);
    if (file.isEmpty()) {
        say(QStringLiteral("vimora-run: no program file in %1").arg(program));
        return false;
    }
    if (isHttpLocation(program))
        loaded_ = runner_->loadProgramUrl(folder, file) > 0 && !runner_->interpreter().statements.empty();
    else
        loaded_ = runner_->loadProgramFile(folder, file) == 0;
    if (!loaded_) say(QStringLiteral("vimora-run: %1 could not be loaded").arg(program));
    if (loaded_ && !options_.framesDir.isEmpty()) {
        if (makeFolders(options_.framesDir)) {
            frames_ = std::make_unique<FrameSequenceWriter>(options_.framesDir, options_.framesFormat);
        } else {
            say(QStringLiteral("vimora-run: cannot make the folder %1").arg(options_.framesDir));
            outputFailed_ = true;
        }
    }
    return loaded_ && !outputFailed_;
}

void HeadlessRun::timersChanged() {
    const bool on = runner_->programTimerOn();
    const int interval = runner_->programInterval();
    // A timer switched on or given a new interval starts counting again, as a platform timer does.
    if (on && (!programTimerOn_ || interval != programInterval_)) nextProgramTick_ = now_ + interval;
    programTimerOn_ = on;
    programInterval_ = interval;
}

void HeadlessRun::frameDrawn() {
    if (outputFailed_ || !frames_) return;
    if (!frames_->push(runner_->view().picture)) framesFailed();
}

void HeadlessRun::framesFailed() {
    say(QStringLiteral("vimora-run: cannot write %1").arg(frames_->failedPath()));
    outputFailed_ = true;
}

void HeadlessRun::start() {
    if (!loaded_) return;
    runner_->show();
    if (!options_.noRun) runner_->runProgram();
}

bool HeadlessRun::step() {
    WorkRunner& w = *runner_;
    if (!loaded_ || (!w.frameTimerOn() && !w.programTimerOn())) return false;
    now_ += kStep;
    feed_.deliverDue(now_, w);
    const int drawn = w.framesDrawn();
    if (w.frameTimerOn()) w.frameTick();
    if (w.framesDrawn() != drawn) feed_.frameDrawn(w);
    if (w.programTimerOn() && now_ >= nextProgramTick_) {
        nextProgramTick_ = now_ + w.programInterval();
        w.programTick();
    }
    return true;
}

void HeadlessRun::run() {
    start();
    const bool untilEnd = options_.milliseconds < 0 && !options_.noRun;
    const int limit = options_.simulatedMilliseconds();
    while (now_ < limit) {
        if (untilEnd && !runner_->running() && !runner_->programTimerOn()) break;
        if (!step()) break; // nothing can change any more
    }
}

int HeadlessRun::exitStatus() const {
    if (!loaded_ || outputFailed_) return 2;
    const WorkRunner& w = *runner_;
    switch (w.lastRunEnd()) {
    case WorkRunner::RunEnd::CommandError:
    case WorkRunner::RunEnd::StatusError:
    case WorkRunner::RunEnd::Fault:
        return 1;
    default:
        break;
    }
    // A block that stopped at a faulty parameter cut the program off: it never ran.
    if ((host_.stop & 8) != 0 || w.interpreter().status != RunStatus::Well || w.interpreter().blockFailed) return 1;
    return 0;
}

QJsonObject HeadlessRun::state() const {
    const WorkRunner& w = *runner_;
    const kestoBasInfo& k = w.interpreter();
    QJsonObject variables;
    for (int i = 0; i < k.items.count(); ++i) {
        const varInfo& item = k.items.item(i);
        if (!item.name.isEmpty()) variables.insert(QStringLiteral("$") + item.name, item.value);
    }
    QJsonArray data;
    for (double v : k.dataValues) data.append(v);
    QJsonArray characters;
    const AnimeState& anime = w.animation();
    for (const auto& owned : anime.characters) {
        const AnimeInfo& c = *owned;
        QJsonObject o;
        o.insert(QStringLiteral("name"), c.name);
        o.insert(QStringLiteral("index"), c.sameNameIndex());
        o.insert(QStringLiteral("kind"), w.animationEngine().kindName(c));
        o.insert(QStringLiteral("X"), c.X / 10);
        o.insert(QStringLiteral("Y"), c.Y / 10);
        o.insert(QStringLiteral("Z"), c.Z / 10);
        o.insert(QStringLiteral("vX"), c.vX);
        o.insert(QStringLiteral("vY"), c.vY);
        o.insert(QStringLiteral("vZ"), c.vZ);
        o.insert(QStringLiteral("disp"), c.disp);
        o.insert(QStringLiteral("mode"), c.mode);
        if (const auto game = c.kind ? c.kind->gameState() : std::nullopt) {
            QJsonObject g;
            g.insert(QStringLiteral("board"), toArray(game->rows));
            g.insert(QStringLiteral("stage"), game->stage + 1);
            g.insert(QStringLiteral("stages"), game->stageCount);
            g.insert(QStringLiteral("moves"), game->moves);
            g.insert(QStringLiteral("mode"), game->mode);
            o.insert(QStringLiteral("game"), g);
        }
        if (c.kind && !c.kind->reportText().isEmpty()) o.insert(QStringLiteral("window"), c.kind->reportText());
        characters.append(o);
    }
    QJsonObject program;
    program.insert(QStringLiteral("ticks"), w.programTicks());
    program.insert(QStringLiteral("running"), w.running() ? 1 : 0);
    program.insert(QStringLiteral("status"), k.status);
    program.insert(QStringLiteral("line"), k.currentLineNumber());
    QJsonObject timing;
    timing.insert(QStringLiteral("acmdTime"), w.programInterval());
    timing.insert(QStringLiteral("animeTime"), w.framePeriod());
    QJsonArray dialogs;
    for (const RecordingCheckSink::Record& r : sink_.records) {
        QJsonObject o;
        o.insert(QStringLiteral("caption"), r.caption);
        o.insert(QStringLiteral("text"), r.text);
        o.insert(QStringLiteral("style"), r.style);
        dialogs.append(o);
    }
    QJsonObject state;
    state.insert(QStringLiteral("variables"), variables);
    state.insert(QStringLiteral("data"), data);
    state.insert(QStringLiteral("characters"), characters);
    state.insert(QStringLiteral("program"), program);
    state.insert(QStringLiteral("frames"), w.framesDrawn());
    state.insert(QStringLiteral("timing"), timing);
    state.insert(QStringLiteral("messages"), toArray(host_.messages));
    state.insert(QStringLiteral("dialogs"), dialogs);
    state.insert(QStringLiteral("log"), toArray(host_.log));
    state.insert(QStringLiteral("milliseconds"), now_);
    return state;
}

bool HeadlessRun::writeOutputs() {
    bool written = true;
    if (frames_ && !outputFailed_ && !frames_->finish()) {
        framesFailed();
        written = false;
    }
    if (loaded_ && !options_.png.isEmpty() && !writeFileAtomic(options_.png, pngBytes(runner_->view().picture))) {
        say(QStringLiteral("vimora-run: cannot write %1").arg(options_.png));
        written = false;
    }
    if (!options_.stateFile.isEmpty()) {
        const QByteArray json = QJsonDocument(state()).toJson(QJsonDocument::Indented);
        if (options_.stateFile == u"-") {
            say(QString::fromUtf8(json));
        } else if (!writeFileAtomic(options_.stateFile, json)) {
            say(QStringLiteral("vimora-run: cannot write %1").arg(options_.stateFile));
            written = false;
        }
    }
    if (!written) outputFailed_ = true;
    return written;
}
