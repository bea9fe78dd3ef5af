#include "StepExecutor.h"

#include "ControlFlow.h"
#include "Evaluator.h"
#include "KeywordTables.h"
#include "ScriptFault.h"
#include "StepHost.h"
#include "common/Numbers.h"
#include "common/ShowCheck.h"
#include "kestoBasInfo.h"

#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"), noinline)) void zeroUpperHalves() { _mm256_zeroupper(); }

// Library code outside this program's build (Qt's drawing among it) may return with the upper
// halves of the vector registers still marked in use. While they are, each SSE instruction of the
// evaluator waits on them: the work window's path, which loads and paints between ticks, ran a
// plain loop three times slower than the bare executor. Clearing the mark costs about a cycle;
// a processor without AVX has no such state.
void clearVectorUpperState() {
    static const bool hasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
    if (hasAvx) zeroUpperHalves();
}
#else
void clearVectorUpperState() {}
#endif

// Host of a block run without a window: every command is passed over.
class SilentHost : public StepHost {
public:
    int runTimingCommand(kestoBasInfo&, const QString&, bool) override { return 0; }
    int runCommand(kestoBasInfo&, const QString&) override { return 0; }
    void showLine(const QString&) override {}
    void paintFrame() override {}
};

progInfo* laterStatementOfKind(progInfo* from, char16_t kind, char16_t otherKind = 0) {
    for (progInfo* s = from->next; s; s = s->next)
        if (s->kind() == kind || (otherKind && s->kind() == otherKind)) return s;
    return nullptr;
}

} // namespace

StepExecutor::StepExecutor(kestoBasInfo& interpreter, StepHost& host) : k_(interpreter), host_(host) {
    buffer_.reserve(4096);
}

void StepExecutor::start(progInfo* first) {
    running_ = true;
    nonStop_ = false;
    lineDisplay_ = true;
    wait_ = 0;
    displayLine_ = 0;
    displaySource_.clear();
    k_.currentStatement = first ? first : k_.statements.first();
}

void StepExecutor::stop() {
    wait_ = 0;
    k_.currentStatement = nullptr;
    running_ = false;
}

StepExecutor::Tick StepExecutor::tick() {
    if (k_.status != RunStatus::Well) {
        k_.addMessage(QStringLiteral("err2"));
        return Tick::StatusStopped;
    }
    if (running_ && wait_ > 0) return Tick::Waiting;
    if (!running_ || !k_.currentStatement) {
        running_ = false;
        return Tick::Ended;
    }
    try {
        if (!step(true)) return Tick::CommandFailed;
    } catch (const std::exception&) {
        if (k_.status == RunStatus::Well) k_.status = RunStatus::Fault;
        running_ = false;
        host_.programFaulted();
        k_.showFault();
        return Tick::Faulted;
    }
    return Tick::Ran;
}

QString StepExecutor::displayText() const {
    if (displayLine_ == 0) return QString();
    return QStringLiteral("%1/%2: %3")
        .arg(displayLine_, 4, 10, QChar(u'0'))
        .arg(k_.lastLineNumber, 4, 10, QChar(u'0'))
        .arg(displaySource_);
}

bool StepExecutor::runCommand(progInfo* s, bool display) {
    // Every shape the short path runs starts with an item: a command need not ask it.
    if (s->kind() == u'#' && evaluateShortAssignment(k_, s->code)) return true;
    if (const StepHost::Compiled compiled = host_.runCompiledCommand(k_, *s); compiled != StepHost::Compiled::Declined) {
        clearVectorUpperState(); // a game's attribute may have shown the game pad
        noteDisplayLine(s);
        // No field of such a command can lack its value, so there is no missing value to report.
        return compiled == StepHost::Compiled::Done || commandFailed(s, display);
    }
    buffer_.resize(s->code.size()); // keeps the buffer's own storage: no allocation per statement
    if (!buffer_.isEmpty()) std::memcpy(buffer_.data(), s->code.constData(), size_t(buffer_.size()) * sizeof(QChar));
    const bool isWait = s->kind() == code::setting(Setting::Wait);
    evaluate(k_, buffer_);
    if (k_.status != RunStatus::Well || buffer_.isEmpty()) return true; // an assignment, or a failed `read`
    if (isWait) {
        buffer_.remove(0, std::min<qsizetype>(2, buffer_.size()));
        const double v = evalValue(k_, &buffer_);
        if (v > 0 && v <= 10000) wait_ = truncToInt(v);
        return true;
    }
    noteDisplayLine(s);
    const int timing = host_.runTimingCommand(k_, buffer_, display);
    clearVectorUpperState(); // the host may have drawn
    if (timing != 0 || buffer_[0] == u':' || buffer_[0] == u'\'' || buffer_.size() < 4) {
        reportMissingValue(s, display);
        return true;
    }
    const int failed = host_.runCommand(k_, buffer_);
    clearVectorUpperState();
    if (failed != 1) {
        reportMissingValue(s, display);
        return true;
    }
    return commandFailed(s, display);
}

void StepExecutor::noteDisplayLine(const progInfo* s) {
    if (s->source.size() <= 1) return;
    displayLine_ = s->lineNumber;
    // A loop notes the same line again and again: taking its text once spares the reference count.
    if (!displaySource_.isSharedWith(s->source) || displaySource_.size() != s->source.size())
        displaySource_ = s->source;
}

bool StepExecutor::commandFailed(const progInfo* s, bool display) {
    running_ = false;
    if (display) {
        const QString text = QStringLiteral(" %1 行 %2( %3 )").arg(s->lineNumber).arg(1).arg(s->source);
        k_.addMessage(text);
        showCheck(text, QStringLiteral("「acmd」エラーです!"), 0);
    }
    return false;
}

void StepExecutor::reportMissingValue(const progInfo* s, bool display) const {
    // The status alone stops the run at the next tick with a bare "err2"; the user needs the line.
    if (!display || k_.status != RunStatus::NoValue) return;
    const QString text = QStringLiteral(" %1 行 値のないパラメータがあります( %2 )").arg(s->lineNumber).arg(s->source);
    k_.addMessage(text);
    showCheck(text, QStringLiteral("「acmd」エラーです!"), 0);
}

bool StepExecutor::step(bool display) {
    static const QString hiddenLine = QStringLiteral(" ---");
    progInfo*& cur = k_.currentStatement;
    clearVectorUpperState();
    budgetExhausted_ = false;
    if (!cur) return true;
    const int stepNumber = cur->stepNumber;
    int64_t budget = k_.statementBudget;
    while (cur && k_.status == RunStatus::Well) {
        if (budget-- <= 0) {
            budgetExhausted_ = true; // the line goes on at the next tick
            return true;
        }
        k_.currentLine = cur;
        if (display) host_.showLine(lineDisplay_ && !nonStop_ ? cur->source : hiddenLine);
        switch (cur->kind()) {
        case code::For:
            if (runFor(k_, cur) < 0) goto leave;
            continue;
        case code::Next:
            if (runNext(k_, cur) < 0) goto leave;
            continue;
        case code::If:
            if (runIf(k_, cur) < 0) goto leave;
            continue;
        case code::Else: {
            progInfo* endif = findEndif(cur);
            cur = endif ? endif->next : nullptr;
            continue;
        }
        case code::AnimeSet:
            if (running_) {
                progInfo* end = laterStatementOfKind(cur, code::SetEnd, code::AddEnd);
                cur = end ? end->next : nullptr;
            } else {
                k_.runAnimeBlock(cur, true);
                host_.paintFrame();
            }
            return true;
        case code::AnimeAdd:
            k_.runAnimeBlock(cur, false);
            host_.paintFrame();
            return true;
        case code::NonStopSet:
            if (laterStatementOfKind(cur, code::NonStopEnd)) nonStop_ = true;
            cur = cur->next;
            continue;
        case 0:
        case u':':
        case u'\'':
        case code::Endif:
            cur = cur->next;
            continue;
        case code::NonStopEnd:
            nonStop_ = false;
            goto leave;
        default:
            if (!runCommand(cur, display)) return false;
            if (cur->next && (cur->next->stepNumber == stepNumber || nonStop_)) {
                cur = cur->next;
                continue;
            }
            goto leave;
        }
    }
leave:
    if (cur) cur = cur->next;
    return true;
}

void StepExecutor::runBlock(kestoBasInfo& k, StepHost* host, progInfo* first) {
    SilentHost silent;
    StepExecutor block(k, host ? *host : silent);
    progInfo* const saved = k.currentStatement;
    k.currentStatement = first;
    struct Restore {
        kestoBasInfo& k;
        progInfo* saved;
        ~Restore() { k.currentStatement = saved; }
    } restore{k, saved};
    block.step(false);
    if (block.budgetExhausted()) {
        k.showFault();
        throw ScriptFault("statement budget exhausted in a block");
    }
}
