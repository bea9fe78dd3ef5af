// Arbitrary bytes as the lines of an animation block: a line starting with 'A'..'P' becomes that
// kind's declaration, 'a'..'t' that setting, '0'..'9' and more an attribute of the last character.
// The block is read with a small dot budget, then two frames are moved and drawn.
#include "PlainBlockInput.h"
#include "anime/AnimeBlock.h"
#include "anime/AnimeMotion.h"
#include "anime/AnimeState.h"
#include "anime/AnimeView.h"
#include "common/Numbers.h"
#include "common/ShowCheck.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class QuietSink : public CheckSink {
public:
    int show(const QString&, const QString&, int) override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv); // fonts for the message texts
    static QuietSink sink;
    setCheckSink(&sink);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList lines;
    QList<std::pair<int, double>> attributes;
    for (QString line : text.split(u'\n')) {
        if (line.contains(QStringLiteral("http"), Qt::CaseInsensitive)) continue; // no network here
        const char16_t c = line.isEmpty() ? 0 : line[0].unicode();
        if (c >= u'A' && c <= u'P') line[0] = QChar(char16_t(code::KindFirst + (c - u'A')));
        else if (c >= u'a' && c <= u't') line[0] = QChar(char16_t(code::SettingFirst + (c - u'a')));
        else if (c == u'=' && line.size() > 2) attributes.append({line[1].unicode() % Attr::Count, parseLeadingNumber(QStringView(line).mid(2))});
        lines.append(line);
    }
    AnimeState state;
    state.pixelBudget = int64_t(1) << 16;
    PlainBlockInput input(lines, QStringLiteral("/nonexistent-vimora-fuzz"));
    runAnimeSet(state, input);
    if (!state.characters.empty())
        for (const auto& [attribute, value] : attributes) state.characters.back()->setAttribute(attribute, value);
    AnimeView view(64, 48);
    int status = 0;
    for (int frame = 0; frame < 2; ++frame) advanceFrame(state, view, status);
    resetAnimation(state);
    return 0;
}
