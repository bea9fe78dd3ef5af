#include "ShowCheck.h"

#include <cstdlib>

namespace {

CheckSink* g_sink = nullptr;
int g_nesting = 0;
thread_local CheckSink* t_threadSink = nullptr;

ExitHandler& exitHandler() {
    static ExitHandler handler = [](int status) { std::exit(status); };
    return handler;
}

} // namespace

int showCheck(const QString& text, const QString& caption, int style) {
    if (t_threadSink) return t_threadSink->show(text, caption, style);
    if (g_nesting > 0 || !g_sink) return -1;
    ++g_nesting;
    struct Leave {
        ~Leave() { --g_nesting; }
    } leave;
    return g_sink->show(text, caption, style);
}

int checkNesting() { return g_nesting; }

CheckSink* setThreadCheckSink(CheckSink* sink) {
    CheckSink* previous = t_threadSink;
    t_threadSink = sink;
    return previous;
}

CheckSink* setCheckSink(CheckSink* sink) {
    CheckSink* previous = g_sink;
    g_sink = sink;
    return previous;
}

int RecordingCheckSink::show(const QString& text, const QString& caption, int style) {
    int answer = 0;
    if (checkKind(style) != 0) {
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        } else {
            answer = defaultAnswer;
        }
    }
    records.push_back({text, caption, style, answer});
    if (echo) echo(records.back());
    return answer;
}

void memoryError(int site) {
    showCheck(QStringLiteral("メモリーエラーが発生しました！ ( %1 )　再起動してください。").arg(site),
              QStringLiteral("ヴィモラアート"), 0);
    exitHandler()(0);
    std::abort(); // an exit handler that returns leaves no sane state to continue from
}

ExitHandler setExitHandler(ExitHandler handler) {
    ExitHandler old = std::move(exitHandler());
    exitHandler() = std::move(handler);
    return old;
}
