#include "qtriInfo.h"

#include "BoardGame.h"
#include "anime/AnimeBlockInput.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeFiles.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeMotion.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr double kSpriteSpeed = 400;
constexpr int kBlinkPeriod = 20, kBlinkShown = 10; // frames of the blink and of its lifted half
constexpr int kLift = 2;                           // pixels a lifted tile moves toward its open side
constexpr int64_t kPictureLimit = int64_t(1) << 22;

} // namespace

qtriInfo::qtriInfo(AnimeInfo& self, QImage picture)
    : self_(self), board_(self.width, self.height), picture_(std::move(picture)) {
    drawnLeft_ = int64_t(self.X * 0.1);
    cellWidth_ = std::max(self.zoomX, 1);
    cellHeight_ = std::max(self.zoomY, 1);
}

int qtriInfo::kindCode() const { return Kind::Nikaku; }

void qtriInfo::linkPlayer(AnimeInfo& player, int modeDigit) {
    if (modeDigit > 0 || player.chaseMode == 0) player_ = &player;
}

int qtriInfo::clickCell(int x, int y) const {
    const int column = cellOf(x - drawnLeft_ - cellWidth_ / 5, cellWidth_);
    const int row = cellOf(y - drawnTop_ - cellHeight_ / 5, cellHeight_);
    return board_.grid().cellAt(column, row);
}

void qtriInfo::headFor(AnimeInfo& player, int cell) const {
    const BoardGrid& grid = board_.grid();
    player.gotoX = double(grid.column(cell)) * self_.zoomX * 10 + self_.X;
    player.gotoY = double(grid.height() - grid.row(cell) - 1) * self_.zoomY * 10 + self_.Y;
    player.speed = kSpriteSpeed;
}

void qtriInfo::pick(int cell) {
    if (board_.select(cell) == MoveOutcome::AllCleared)
        showCheck(QStringLiteral("全てクリアーしました。"), QStringLiteral("二角取り"), 0); // already dealt anew
}

void qtriInfo::stepPlayer(AnimeInfo& player) {
    int& mode = player.chaseMode;
    const int clicked = clickX_ >= 0 ? clickCell(clickX_, clickY_) : -2; // -2: no click
    clickX_ = clickY_ = -1;
    if (mode == GameMode::Waiting) {
        const AnimeHost* host = self_.state ? self_.state->host : nullptr;
        if (!host || !host->gamePadVisible()) return;
        mode = GameMode::UserPlay;
        cursor_ = 0;
        player.gotoX = self_.X;
        player.gotoY = double(board_.grid().height() - 1) * self_.zoomY * 10 + self_.Y;
        player.speed = kSpriteSpeed;
        return;
    }
    if (mode == GameMode::UserPlay) {
        GameKey key = std::exchange(pendingKey_, GameKey::None);
        if (clicked >= 0) {
            cursor_ = clicked;
            key = GameKey::Enter;
        }
        const BoardGrid& grid = board_.grid();
        int column = grid.column(cursor_), row = grid.row(cursor_);
        switch (key) {
        case GameKey::Undo: board_.undo(); break;
        case GameKey::Enter: pick(cursor_); break;
        case GameKey::Left: column = std::max(column - 1, 0); break;
        case GameKey::Up: row = std::max(row - 1, 0); break;
        case GameKey::Right: column = std::min(column + 1, grid.width() - 1); break;
        case GameKey::Down: row = std::min(row + 1, grid.height() - 1); break;
        case GameKey::NextStage: board_.deal(); break;
        default: break;
        }
        cursor_ = grid.cellAt(column, row);
        headFor(player, cursor_);
        return;
    }
    pendingKey_ = GameKey::None;
    if (clicked >= 0) pick(clicked);
    if (mode == GameMode::Demonstration) demonstrate(player);
}

void qtriInfo::demonstrate(AnimeInfo& player) {
    const BoardGrid& grid = board_.grid();
    if (finished_) {
        player.gotoX = double(grid.width()) * self_.zoomX * 10 / 2 + self_.X;
        player.gotoY = double(grid.height()) * self_.zoomY * 10 / 2 + self_.Y;
        return;
    }
    if (player.gotoX != kNoTarget || player.gotoY != kNoTarget) {
        stepToTarget(self_); // the player walks in its own motion step
        return;
    }
    int& k = player.gameStep;
    // The step counter may come from another board: entries are read bounds-checked, and a
    // cell beyond this board ends the walk.
    if (k >= 0 && board_.removalAt(k) >= 0 && board_.removalAt(k) < board_.cells()) board_.take(board_.removalAt(k));
    ++k;
    const int next = board_.removalAt(k);
    if (next < 0 || next >= board_.cells()) {
        finished_ = true;
        player.chaseMode = GameMode::Idle;
        return;
    }
    headFor(player, next);
}

std::optional<AnimeGameState> qtriInfo::gameState() const {
    AnimeGameState g;
    const BoardGrid& grid = board_.grid();
    for (int r = 0; r < grid.height(); ++r) {
        QString row;
        for (int c = 0; c < grid.width(); ++c) {
            const int cell = grid.cellAt(c, r);
            const int kind = board_.kind(cell);
            row += board_.removed(cell) ? QChar(u'.') : kind < 10 ? QChar(u'0' + kind) : QChar(u'a' + kind - 10);
        }
        g.rows.append(row);
    }
    g.moves = board_.userCount() / 2;
    g.mode = player_ ? player_->chaseMode : -1;
    return g;
}

bool qtriInfo::draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) {
    const BoardGrid& grid = board_.grid();
    const int cw = std::max(self.zoomX * std::max(at.dotZoom, 1), 1);
    const int ch = std::max(self.zoomY * std::max(at.dotZoomY, 1), 1);
    drawnLeft_ = at.screenLeft;
    drawnTop_ = at.screenTop;
    cellWidth_ = cw;
    cellHeight_ = ch;
    ++frameCounter_;
    if (picture_.isNull()) return true; // played unseen
    int hint1 = -1, hint2 = -1;
    if (player_ && player_->gameStep >= 0) {
        hint1 = board_.removalAt(player_->gameStep);
        if (player_->gameStep % 2 == 0) hint2 = board_.removalAt(player_->gameStep + 1);
    }
    const bool blink = frameCounter_ % kBlinkPeriod < kBlinkShown;
    const bool hasHint = hint1 >= 0 || hint2 >= 0;
    QPainter painter(&canvas.picture());
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < grid.width(); ++c) {
            const int cell = grid.cellAt(c, r);
            if (board_.removed(cell)) continue;
            int dx = 0, dy = 0;
            const bool lifted = hasHint ? cell == hint1 || cell == hint2 : cell == board_.selected();
            if (blink && lifted) {
                // Toward the first open side: right, up, down, left.
                const int steps[4][2] = {{1, 0}, {0, -1}, {0, 1}, {-1, 0}};
                for (const auto& s : steps)
                    if (board_.removed(grid.cellAt(c + s[0], r + s[1]))) {
                        dx = s[0] * kLift;
                        dy = s[1] * kLift;
                        break;
                    }
            }
            const int64_t left = at.screenLeft + int64_t(c) * cw + dx, top = at.screenTop + int64_t(r) * ch + dy;
            const QRect target(int(left), int(top), std::max(cw + dx - 3, 1), std::max(ch + dy, 1));
            const int kind = board_.kind(cell);
            const QRect face((kind % kFacesARow) * kFaceWidth, (kind / kFacesARow) * kFaceHeight, kFaceWidth,
                             kFaceHeight);
            painter.drawImage(target, picture_, face);
        }
    return true;
}

std::optional<QString> readNikaku(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    BoardDeclaration d;
    if (auto faulty = readBoardPlace(fields, input, kMaxBoardSide, d)) return faulty;
    // An odd count of tiles leaves one without a partner, and a deal beyond a full set has no
    // faces: such a board is refused before anything is made.
    if (!QtriBoard::dealable(d.wid, d.hei)) return QStringLiteral("wid");
    QImage picture;
    if (loadBmpFrame(animeDataPath(input.programBase(), QStringLiteral("img/majyan.bmp")), kPictureLimit, picture) !=
        FrameLoad::Ok)
        picture = QImage(); // the board is played unseen
    AnimeInfo& c = createBoardCharacter(state, d, d.wid, d.hei);
    c.kind = std::make_unique<qtriInfo>(c, std::move(picture));
    return std::nullopt;
}
