#include "RunOptions.h"

#include <algorithm>

namespace {

// A whole decimal number in lo..hi, without locale, sign only when lo < 0.
std::optional<int64_t> wholeNumber(const QString& text, int64_t lo, int64_t hi) {
    if (text.isEmpty() || text.size() > 12) return std::nullopt;
    int64_t v = 0;
    qsizetype i = 0;
    const bool negative = text[0] == u'-';
    if (negative) i = 1;
    if (i >= text.size()) return std::nullopt;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
    }
    if (negative) v = -v;
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

// "X,Y" with each 0 to 8192.
std::optional<QPoint> pointOf(const QString& text) {
    const qsizetype comma = text.indexOf(u',');
    const auto x = comma < 0 ? std::nullopt : wholeNumber(text.left(comma), 0, 8192);
    const auto y = comma < 0 ? std::nullopt : wholeNumber(text.mid(comma + 1), 0, 8192);
    if (!x || !y) return std::nullopt;
    return QPoint(int(*x), int(*y));
}

// "MS:REST" of --key, --click and --drag: the time and what follows the colon.
std::optional<PlayInput> playInputOf(PlayInput::Kind kind, const QString& text) {
    const qsizetype colon = text.indexOf(u':');
    const auto ms = colon < 0 ? std::nullopt : wholeNumber(text.left(colon), 0, RunOptions::kMaxMilliseconds);
    if (!ms) return std::nullopt;
    PlayInput in;
    in.kind = kind;
    in.milliseconds = int(*ms);
    const QString rest = text.mid(colon + 1);
    if (kind == PlayInput::Kind::Key) {
        const auto code = wholeNumber(rest, 1, 255);
        if (!code) return std::nullopt;
        in.code = int(*code);
        return in;
    }
    for (const QString& part : rest.split(u'-')) {
        const auto p = pointOf(part);
        if (!p) return std::nullopt;
        in.points.push_back(*p);
    }
    const size_t wanted = kind == PlayInput::Kind::Click ? 1 : 2;
    if (kind == PlayInput::Kind::Click ? in.points.size() != wanted : in.points.size() < wanted) return std::nullopt;
    return in;
}

} // namespace

QString RunOptions::usage() {
    return QStringLiteral(
        "usage: vimora-run [options] PROGRAM          PROGRAM: a local .acmd file or an http(s): URL\n"
        "  --ms N          simulate N virtual milliseconds (default: until the program has ended;\n"
        "                  at most 600000; with --no-run 1000)\n"
        "  --no-run        load and animate only, do not start the program\n"
        "  --size WxH      picture size (default: what the work window would use)\n"
        "  --png FILE      write the last drawn picture as PNG\n"
        "  --frames DIR    write every drawn frame as DIR/000001.png, 000002.png, ...\n"
        "  --frames-format png|bmp   the format of --frames (default png)\n"
        "  --state FILE    write the final state as JSON (\"-\" for standard output); a game character\n"
        "                  has \"game\": its board (rows of text), stage (1-based), stages, moves and mode\n"
        "  --answer N      answer of the message window to every yes/no question (1 yes, 0 no; default 0)\n"
        "  --seed N        seed of the random generator\n"
        "  --window        show the work in a window and run it with real timers; with --png or --ms\n"
        "                  the window closes when the program has ended (or the time is over) and\n"
        "                  --png holds the window as it was shown; play inputs then come on the real clock\n"
        "  --pad           open the game pad as soon as a game shows its \"プレイ\" panel, so that a\n"
        "                  waiting game starts user play\n"
        "  --key MS:CODE   at virtual millisecond MS the game key CODE (1 to 255, a virtual key code as\n"
        "                  the game pad makes it: 37 left, 38 up, 39 right, 40 down, 13 Enter, 8 undo,\n"
        "                  107 next stage, 109 previous stage); repeatable\n"
        "  --click MS:X,Y  at MS a mouse-down on the picture at pixel X,Y; repeatable\n"
        "  --drag MS:X,Y-X,Y[-X,Y...]\n"
        "                  at MS a mouse-down at the first point, then the left button held while the\n"
        "                  pointer moves to each next point in turn, 8 picture pixels a frame; repeatable\n"
        "exit status: 0 the program ran to its end (or the time ran out), 1 a script error or fault,\n"
        "2 the program could not be loaded or the options are wrong\n");
}

int RunOptions::simulatedMilliseconds() const {
    if (milliseconds >= 0) return milliseconds;
    return noRun ? kNoRunMilliseconds : kMaxMilliseconds;
}

std::optional<RunOptions> RunOptions::parse(const QStringList& arguments, QString* error) {
    RunOptions o;
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool takesValue = a == u"--ms" || a == u"--size" || a == u"--png" || a == u"--frames" ||
                                a == u"--frames-format" || a == u"--state" || a == u"--answer" || a == u"--seed" ||
                                a == u"--key" || a == u"--click" || a == u"--drag";
        if (takesValue && i + 1 >= arguments.size()) return fail(QStringLiteral("%1 needs a value").arg(a));
        const QString value = takesValue ? arguments[++i] : QString();
        if (a == u"--ms") {
            const auto n = wholeNumber(value, 0, kMaxMilliseconds);
            if (!n) return fail(QStringLiteral("--ms takes 0 to %1").arg(kMaxMilliseconds));
            o.milliseconds = int(*n);
        } else if (a == u"--size") {
            const qsizetype x = value.indexOf(u'x');
            const auto w = wholeNumber(value.left(x), 1, 8192);
            const auto h = x < 0 ? std::nullopt : wholeNumber(value.mid(x + 1), 1, 8192);
            if (!w || !h) return fail(QStringLiteral("--size takes WxH, each 1 to 8192"));
            o.width = int(*w);
            o.height = int(*h);
        } else if (a == u"--png") {
            o.png = value;
        } else if (a == u"--frames") {
            o.framesDir = value;
        } else if (a == u"--frames-format") {
            if (value != u"png" && value != u"bmp") return fail(QStringLiteral("--frames-format takes png or bmp"));
            o.framesFormat = value == u"png" ? FrameSequenceWriter::Format::Png : FrameSequenceWriter::Format::Bmp;
        } else if (a == u"--state") {
            o.stateFile = value;
        } else if (a == u"--answer") {
            const auto n = wholeNumber(value, 0, 1);
            if (!n) return fail(QStringLiteral("--answer takes 0 or 1"));
            o.answer = int(*n);
        } else if (a == u"--seed") {
            const auto n = wholeNumber(value, 0, 0xFFFFFFFFll);
            if (!n) return fail(QStringLiteral("--seed takes 0 to 4294967295"));
            o.seed = uint32_t(*n);
        } else if (a == u"--key" || a == u"--click" || a == u"--drag") {
            const PlayInput::Kind kind = a == u"--key"     ? PlayInput::Kind::Key
                                         : a == u"--click" ? PlayInput::Kind::Click
                                                           : PlayInput::Kind::Drag;
            const auto in = playInputOf(kind, value);
            if (!in)
                return fail(kind == PlayInput::Kind::Key     ? QStringLiteral("--key takes MS:CODE, CODE 1 to 255")
                            : kind == PlayInput::Kind::Click ? QStringLiteral("--click takes MS:X,Y")
                                                             : QStringLiteral("--drag takes MS:X,Y-X,Y"));
            o.inputs.push_back(*in);
        } else if (a == u"--pad") {
            o.pad = true;
        } else if (a == u"--no-run") {
            o.noRun = true;
        } else if (a == u"--window") {
            o.window = true;
        } else if (a == u"--help" || a == u"-h") {
            o.help = true;
        } else if (a.startsWith(u"--")) {
            return fail(QStringLiteral("unknown option %1").arg(a));
        } else if (o.program.isEmpty()) {
            o.program = a;
        } else {
            return fail(QStringLiteral("more than one PROGRAM: %1").arg(a));
        }
    }
    if (o.program.isEmpty() && !o.help) return fail(QStringLiteral("PROGRAM is missing"));
    std::stable_sort(o.inputs.begin(), o.inputs.end(),
                     [](const PlayInput& a, const PlayInput& b) { return a.milliseconds < b.milliseconds; });
    return o;
}
