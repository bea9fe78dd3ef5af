// Arbitrary bytes as a board game: the first byte picks the warehouse, the gold-collecting, the
// number-linking, the maze or the number-place game (its value mod 5), the rest of the first line is the declaration's
// parameters, the lines up to a line "#" its map rows, and every byte after that a key of the game
// pad (or, for 'd', a demonstration step; for 'c' and 'g' a click and a drag at the next two
// bytes). The board is drawn after the keys.
#include "anime/AnimeBlock.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeState.h"
#include "anime/PlainBlockInput.h"
#include "characters/CharacterKinds.h"
#include "characters/BoardGame.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {

class QuietSink : public CheckSink {
public:
    int show(const QString&, const QString&, int) override { return 0; }
};

constexpr GameKey kKeys[] = {GameKey::Left, GameKey::Up, GameKey::Right, GameKey::Down, GameKey::Undo,
                             GameKey::NextStage, GameKey::PreviousStage, GameKey::Enter};
constexpr int kKinds[] = {Kind::Soukoban, Kind::pitman, Kind::NumLink, Kind::Maze, Kind::Sudoku};
constexpr int kLinks[] = {Attr::Soukoban, Attr::pitman, Attr::NumLink, Attr::Maze, Attr::Sudoku};
static_assert(std::size(kKinds) == std::size(kLinks));

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv); // fonts for the glyphs
    static QuietSink sink;
    setCheckSink(&sink);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096) return 0;
    const int kind = kKinds[data[0] % std::size(kKinds)];
    const int link = kLinks[data[0] % std::size(kLinks)];
    ++data;
    --size;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = text.indexOf(QStringLiteral("\n#\n"));
    const QString block = split < 0 ? text : text.left(split);
    const QString keys = split < 0 ? QString() : text.mid(split + 3);
    QStringList lines = block.split(u'\n');
    lines[0].prepend(QString(QChar(char16_t(code::KindFirst + kind))) + u':');

    AnimeState state;
    state.pixelBudget = int64_t(1) << 16;
    registerCharacterKinds(state);
    PlainBlockInput input(lines);
    runAnimeSet(state, input);
    if (state.characters.empty() || !state.characters[0]->kind) return 0;
    AnimeInfo& board = *state.characters[0];
    auto* game = static_cast<BoardGame*>(board.kind.get());
    AnimeInfo& player = state.createCharacter(QStringLiteral("p"), 0, 0, 1, 1, 1, 1);
    player.setAttribute(link, 3);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar k = keys[i];
        if ((k == u'c' || k == u'g') && i + 2 < keys.size()) {
            const int x = keys[i + 1].unicode() % 128 - 16, y = keys[i + 2].unicode() % 128 - 16;
            if (k == u'c') game->click(x, y);
            else game->drag(x, y);
            i += 2;
        } else if (k == u'd') {
            if (player.chaseMode != 1) player.setAttribute(link, 1);
        } else {
            if (player.chaseMode != 3) player.setAttribute(link, 3);
            game->key(kKeys[k.unicode() % std::size(kKeys)]);
        }
        game->stepPlayer(player);
        player.X = player.gotoX == kNoTarget ? player.X : player.gotoX;
        player.Y = player.gotoY == kNoTarget ? player.Y : player.gotoY;
    }
    QImage picture(64, 48, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, 48, {});
    game->draw(canvas, board, {-3, 5, board.width, board.height, 1, 0});
    resetAnimation(state);
    return 0;
}
