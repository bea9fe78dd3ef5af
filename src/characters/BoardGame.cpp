#include "BoardGame.h"

#include "anime/AnimeBlockInput.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kSpriteSpeed = 400; // tenths of a pixel per frame: a cell within a frame or two
constexpr int kClickWalkFrames = 30;

} // namespace

QChar BoardDeclaration::cell(int stage, int row, int column) const {
    const size_t at = size_t(stage) * size_t(hei) + size_t(row);
    if (stage < 0 || row < 0 || column < 0 || row >= hei || at >= rows.size()) return u'0';
    const QString& line = rows[at];
    return column < line.size() ? line[column] : QChar(u'0');
}

std::vector<int8_t> BoardDeclaration::digitMaps(char16_t highest, int8_t other) const {
    std::vector<int8_t> maps(size_t(wid) * size_t(hei) * size_t(stages), other);
    size_t i = 0;
    for (int s = 0; s < stages; ++s)
        for (int r = 0; r < hei; ++r)
            for (int c = 0; c < wid; ++c, ++i) {
                const char16_t ch = cell(s, r, c).unicode();
                maps[i] = ch >= u'1' && ch <= highest ? int8_t(ch - u'0') : other;
            }
    return maps;
}

std::optional<QString> readBoardPlace(ParamFields& fields, AnimeBlockInput& input, int sizeLimit,
                                      BoardDeclaration& out) {
    out.name = input.nameText(fields.next().value_or(QString()));
    struct Required {
        int* value;
        int64_t lo, hi;
        const char* faulty;
    };
    const Required required[] = {{&out.wid, 1, sizeLimit, "wid"},         {&out.hei, 1, sizeLimit, "hei"},
                                 {&out.lft, -kPlaceLimit, kPlaceLimit, "lft"},   {&out.top, -kPlaceLimit, kPlaceLimit, "top"},
                                 {&out.xzoom, 1, 100, "xzoom"},      {&out.yzoom, 1, 100, "yzoom"}};
    for (const Required& r : required) {
        const auto v = readIntParam(fields, input, r.lo, r.hi);
        if (!v) return QString::fromLatin1(r.faulty);
        *r.value = int(*v);
    }
    return std::nullopt;
}

void readBoardRows(AnimeBlockInput& input, int count, int width, BoardDeclaration& out) {
    out.rows.clear();
    out.rows.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const auto line = input.nextDataLine();
        if (!line) break; // the block ended: the remaining rows are floor
        out.rows.push_back(line->left(width));
    }
}

std::optional<QString> readBoardDeclaration(AnimeState& state, AnimeBlockInput& input, const QString& params,
                                            BoardDeclaration& out) {
    ParamFields fields(params);
    if (auto faulty = readBoardPlace(fields, input, kMaxBoardSide, out)) return faulty;
    // stages and start are optional: a missing or faulty one is 1, and its failed evaluation
    // must not stop the block.
    auto optional = [&](int& value) {
        value = 1;
        if (isEmptyParam(fields.peek())) return;
        const auto v = readIntParam(fields, input, 1, 100);
        if (v) value = int(*v);
        if (input.status() == RunStatus::NoValue) input.setStatus(RunStatus::Well);
    };
    optional(out.stages);
    optional(out.start);
    // Every stage's map is kept; a declaration whose maps would not fit the dot budget is refused
    // before anything is allocated.
    if (!state.reservePixels(int64_t(out.wid) * out.hei * out.stages)) return QStringLiteral("stages");
    readBoardRows(input, out.stages * out.hei, out.wid, out);
    return std::nullopt;
}

void BoardGame::linkPlayer(AnimeInfo& player, int modeDigit) {
    if (modeDigit <= 0) return; // unlinking only drops the player's own link
    player_ = &player;
    walkColumn_ = walkRow_ = -1;
    walkCounter_ = 0;
    paceCounter_ = 0;
    playerLinked(modeDigit);
}

int BoardGame::boardRows() const { return self_.height; }

std::optional<AnimeGameState> BoardGame::gameState() const {
    AnimeGameState g;
    for (int r = 0; r < boardRows(); ++r) g.rows.append(rowText(r));
    g.stage = currentStage();
    g.stageCount = stageCount();
    g.moves = moveCounter();
    g.mode = player_ ? player_->chaseMode : -1;
    return g;
}

double BoardGame::spriteX(int column) const {
    return double(column) * self_.zoomX * 10 + self_.X + self_.zoomX * 2;
}

double BoardGame::spriteY(int row) const {
    return double(self_.height - row - 1) * self_.zoomY * 10 + self_.Y + self_.zoomY * 2;
}

void BoardGame::placeSprite(AnimeInfo& player, int column, int row) const {
    player.gotoX = spriteX(column);
    player.gotoY = spriteY(row);
    player.speed = kSpriteSpeed;
}

void BoardGame::walkToClick() {
    if (clickX_ >= 0) {
        walkColumn_ = clickColumn(clickX_);
        walkRow_ = clickRow(clickY_);
        clickX_ = -1;
        clickY_ = -1;
        walkCounter_ = kClickWalkFrames;
    }
    if (walkCounter_ <= 0) return;
    --walkCounter_;
    GameKey made = GameKey::None;
    if (walkColumn_ >= 0) {
        if (walkColumn_ < playerColumn()) made = GameKey::Left;
        else if (walkColumn_ > playerColumn()) made = GameKey::Right;
        else walkColumn_ = -1; // across is done: no key in this step
    } else if (walkRow_ >= 0) {
        if (walkRow_ < playerRow()) made = GameKey::Up;
        else if (walkRow_ > playerRow()) made = GameKey::Down;
        else walkRow_ = -1;
    }
    if (walkColumn_ < 0 && walkRow_ < 0) walkCounter_ = 0;
    if (made != GameKey::None) pendingKey_ = made;
}

void BoardGame::stepPlayer(AnimeInfo& player) {
    int& mode = player.chaseMode;
    if (mode == GameMode::Waiting) {
        AnimeHost* host = self_.state ? self_.state->host : nullptr;
        if (!host || !host->gamePadVisible()) return;
        mode = GameMode::UserPlay;
        userPlayStarts();
    }
    if (mode == GameMode::UserPlay) {
        walkToClick();
        if (const GameKey key = takeKey(); key != GameKey::None) announce(moveByKey(key));
    } else if (mode == GameMode::Demonstration) {
        if (player.hasTarget()) {
            const double dx = player.gotoX == kNoTarget ? 0 : player.gotoX - player.X;
            const double dy = player.gotoY == kNoTarget ? 0 : player.gotoY - player.Y;
            if (std::abs(dx) + std::abs(dy) > 10) return;
        }
        if (paceCounter_++ % 2 == 0) demonstrationStep();
        if (allStagesDone() || currentStage() >= stageCount()) {
            mode = GameMode::Idle;
            placeSprite(player, self_.width / 2, self_.height / 2);
            return;
        }
    } else {
        return;
    }
    placeSprite(player, playerColumn(), playerRow());
}

AnimeInfo& createBoardCharacter(AnimeState& state, const BoardDeclaration& d, int columns, int rows) {
    AnimeInfo& c = state.createCharacter(d.name, d.lft, d.top, d.xzoom, d.yzoom, columns, rows);
    state.setSameNameIndex(c, state.sameNameCount(c));
    c.disp = 1;
    return c;
}

std::optional<QString> readBoardCharacter(AnimeState& state, AnimeBlockInput& input, const QString& params,
                                          MakeBoardGame make) {
    BoardDeclaration d;
    if (auto faulty = readBoardDeclaration(state, input, params, d)) return faulty;
    AnimeInfo& c = createBoardCharacter(state, d, d.wid, d.hei);
    c.kind = make(c, d);
    return std::nullopt;
}
