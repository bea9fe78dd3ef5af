#include "RunOptions.h"

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
        "  --state FILE    write the final state as JSON (\"-\" for standard output)\n"
        "  --answer N      answer of the message window to every yes/no question (1 yes, 0 no; default 0)\n"
        "  --seed N        seed of the random generator\n"
        "  --window        show the work in a window and run it with real timers; with --png or --ms\n"
        "                  the window closes when the program has ended (or the time is over) and\n"
        "                  --png holds the window as it was shown\n"
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
                                a == u"--frames-format" || a == u"--state" || a == u"--answer" || a == u"--seed";
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
    return o;
}
