// The one message window through which every notice, error and yes/no question goes.
//
// The window itself lives in the UI library (TFormCheck); this core part routes each request to
// the installed sink, keeps the nesting counter and offers a recording sink for tests and tools.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

// Style = position * 10 + kind. Kind 0: a notice with "確認"; other kinds: "はい"/"いいえ".
// Position 0 centred, 1 near the top, 2 near the bottom.
inline int checkKind(int style) { return style % 10; }
inline int checkPosition(int style) { return style / 10; }

// Receives message requests. show() answers 1 for "はい", 0 for "いいえ"/"確認", or the kind digit
// when the window was closed another way.
class CheckSink {
public:
    virtual ~CheckSink() = default;
    virtual int show(const QString& text, const QString& caption, int style) = 0;
};

// Shows the message through the installed sink. Returns -1 at once while another message is
// open (the nesting counter is above 0) and when no sink is installed. Only 1 means yes.
int showCheck(const QString& text, const QString& caption, int style);

// Number of message windows open now (0 or 1).
int checkNesting();

// Installs a sink (not owned); nullptr removes it. Returns the previous sink.
CheckSink* setCheckSink(CheckSink* sink);

// Installs a sink for the calling thread only (not owned; nullptr removes it); while one is
// installed the thread's messages go there and never to the window sink, which belongs to the
// user-interface thread. A worker records its messages this way and the window shows them when
// the work is done. Returns the previous one.
CheckSink* setThreadCheckSink(CheckSink* sink);

// Installs a sink for the lifetime of this object and restores the previous one afterwards.
class ScopedCheckSink {
public:
    explicit ScopedCheckSink(CheckSink* sink) : previous_(setCheckSink(sink)) {}
    ~ScopedCheckSink() { setCheckSink(previous_); }
    ScopedCheckSink(const ScopedCheckSink&) = delete;
    ScopedCheckSink& operator=(const ScopedCheckSink&) = delete;

private:
    CheckSink* previous_;
};

// Headless sink: records every request and answers questions from a script of answers
// (then `defaultAnswer`); notices answer 0. An optional echo receives "caption: text".
class RecordingCheckSink : public CheckSink {
public:
    struct Record {
        QString text;
        QString caption;
        int style = 0;
        int answer = 0;
    };
    int show(const QString& text, const QString& caption, int style) override;

    std::vector<Record> records;
    std::deque<int> answers;
    int defaultAnswer = 0;
    std::function<void(const Record&)> echo;
};

// Shows "メモリーエラーが発生しました！ ( site )　再起動してください。" (caption "ヴィモラアート",
// style 0) and ends the program with exit status 0 through the exit handler. Does not return.
[[noreturn]] void memoryError(int site);

// Replaces the exit used by memoryError (tests throw from it instead of exiting); returns the old one.
using ExitHandler = std::function<void(int)>;
ExitHandler setExitHandler(ExitHandler handler);
