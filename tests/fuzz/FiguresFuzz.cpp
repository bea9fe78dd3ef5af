// Arbitrary bytes as a block of figure and physics characters: every line up to a line "#" is a
// declaration whose first byte picks the kind (ring, solid, charge, molecule, metaball) or a data
// line; after "#", each line "c i v" writes user value i (or, for an upper-case c, attribute i)
// of character c with the value v. Three frames are then moved and drawn, with window rotation
// and perspective when the input asks for them.
#include "anime/AnimeBlock.h"
#include "anime/AnimeMotion.h"
#include "anime/AnimeState.h"
#include "anime/AnimeView.h"
#include "anime/PlainBlockInput.h"
#include "characters/CharacterKinds.h"
#include "common/Numbers.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class QuietSink : public CheckSink {
public:
    int show(const QString&, const QString&, int) override { return 0; }
};

constexpr int kKinds[] = {Kind::metaRing, Kind::MetaCube, Kind::Coulomb,
                          Kind::Molecule, Kind::MetaBall};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    static QuietSink sink;
    setCheckSink(&sink);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = text.indexOf(QStringLiteral("\n#\n"));
    QStringList lines = (split < 0 ? text : text.left(split)).split(u'\n');
    const QStringList changes = split < 0 ? QStringList() : text.mid(split + 3).split(u'\n');
    for (QString& line : lines) {
        if (line.isEmpty()) continue;
        const char16_t first = line[0].unicode();
        if (first >= u'0' && first <= u'4') line = kindCode(kKinds[first - u'0']) + u':' + line.mid(1);
    }

    AnimeState state;
    state.pixelBudget = int64_t(1) << 18;
    registerCharacterKinds(state);
    PlainBlockInput input(lines);
    runAnimeSet(state, input);
    if (state.characters.empty()) return 0;
    AnimeView view(96, 64);
    for (const QString& change : changes) {
        const QStringList parts = change.split(u' ');
        if (parts.size() != 3 || parts[0].isEmpty()) continue;
        const QChar which = parts[0][0];
        AnimeInfo& c = *state.characters[size_t(which.toLower().unicode()) % state.characters.size()];
        const int index = parseLeadingInt(parts[1]);
        const double value = parseLeadingNumber(parts[2]);
        if (which.isUpper()) c.setAttribute(index, value);
        else c.setUserValue(index, value);
        if (index == 99) view.rotation.angleZ = value; // window rotation
        if (index == 98) state.zoomPercent = truncToInt(value);
    }
    const int status = 0;
    for (int frame = 0; frame < 3; ++frame) advanceFrame(state, view, status);
    resetAnimation(state);
    return 0;
}
