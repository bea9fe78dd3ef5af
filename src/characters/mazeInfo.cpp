#include "mazeInfo.h"

#include "BoardGrid.h"
#include "anime/AnimeBlockInput.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"
#include "script/KestoCodes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

constexpr uint32_t kWallColor = 0x303040;
constexpr double kUserSpeed = 200; // tenths of a pixel per frame: a cell within a frame or so
constexpr int kMinShrinkColumns = 8; // "－" needs this many columns
constexpr int kMinRows = 5;          // and leaves at least this many rows
constexpr int kMaxZoom = 100;        // the widest cell a character's zoom gives
constexpr int kLoopReach = 5;        // pixels: a trail point this near closes a loop
constexpr size_t kRecentPoints = 4;  // the newest trail points never close a loop
constexpr size_t kMinRoundPoints = 50; // a round shorter than this is a loop, not the way found
constexpr double kCentringStep = 10; // tenths: one pixel toward the middle per new pixel

// Sides of a cell in the order of the walls' flags (1 up, 2 right, 4 down, 8 left); each turn
// to the right is the next one.
enum Side : int { Up = 0, Right = 1, Down = 2, Left = 3 };
constexpr int kSideColumn[] = {0, 1, 0, -1};
constexpr int kSideRow[] = {-1, 0, 1, 0};

// The side a runner heads for, by its velocity; nothing while it stands.
std::optional<Side> headingOf(const AnimeInfo& c) {
    if (c.vX == 0 && c.vY == 0) return std::nullopt;
    if (std::abs(c.vX) >= std::abs(c.vY)) return c.vX > 0 ? Right : Left;
    return c.vY > 0 ? Up : Down; // y grows upward
}

int toInt(double v) { return int(std::clamp(std::floor(v), -1e9, 1e9)); }

} // namespace

mazeInfo::mazeInfo(AnimeInfo& self, const BoardDeclaration& d, int type)
    : BoardGame(self), board_(d.wid, d.hei), type_(type), pixelWidth_(self.zoomX * d.wid) {
    if (type == MazeBoard::Read) board_.read(d.digitMaps(u'9', 0));
    else board_.generate(d.wid, d.hei, MazeBoard::Type(type));
    cellWidth_ = self.zoomX;
    cellHeight_ = self.zoomY;
}

int mazeInfo::kindCode() const { return Kind::Maze; }

const mazeUinfo* mazeInfo::runner(const AnimeInfo& player) const {
    const auto it = runners_.find(&player);
    return it == runners_.end() ? nullptr : &it->second;
}

double mazeInfo::anchorX(int column) const {
    return double(column) * self().zoomX * 10 + self().X + self().zoomX * 2;
}

double mazeInfo::anchorY(int row) const {
    return double(board_.rows() - 1 - row) * self().zoomY * 10 + self().Y + self().zoomY * 2;
}

mazeUinfo::Cell mazeInfo::runnerCell(const AnimeInfo& runner, double& offsetX, double& offsetY) const {
    const double cw = self().zoomX * 10.0, ch = self().zoomY * 10.0;
    const int column = toInt((runner.X - anchorX(0)) / cw + 0.5);
    const int row = board_.rows() - 1 - toInt((runner.Y - anchorY(board_.rows() - 1)) / ch + 0.5);
    offsetX = runner.X - anchorX(column);
    offsetY = runner.Y - anchorY(row);
    return {column, row};
}

void mazeInfo::linkPlayer(AnimeInfo& player, int modeDigit) {
    BoardGame::linkPlayer(player, modeDigit);
    if (modeDigit <= 0) return;
    mazeUinfo& r = runners_[&player];
    r = mazeUinfo{};
    r.mode = modeDigit;
    // The runner keeps within the maze and the ring of ground round it.
    const int left = toInt(self().X * 0.1), low = toInt(self().Y * 0.1);
    player.minX = left - self().zoomX;
    player.maxX = left + (board_.columns() + 1) * self().zoomX;
    player.minY = low - self().zoomY;
    player.maxY = low + (board_.rows() + 1) * self().zoomY;
    restart(player, r);
    AnimeHost* host = self().state ? self().state->host : nullptr;
    if (modeDigit == mazeUinfo::UserWaiting && host) host->showGamePad();
}

void mazeInfo::regenerate() { remake(board_.columns(), board_.rows()); }

void mazeInfo::remake(int columns, int rows) {
    type_ = type_ == MazeBoard::StickDown ? MazeBoard::SpanningTree : MazeBoard::StickDown;
    board_.generate(columns, rows, MazeBoard::Type(type_));
    for (auto& entry : runners_) entry.second.mazeRemade = true;
}

MoveOutcome mazeInfo::resize(int change) {
    const int columns = board_.columns() + change, rows = board_.rows() + change;
    if (change > 0 && (columns > kMaxBoardSide || rows > kMaxBoardSide || pixelWidth_ / columns < 1))
        return MoveOutcome::Refused;
    if (change < 0 && (board_.columns() < kMinShrinkColumns || rows < kMinRows || pixelWidth_ / columns > kMaxZoom))
        return MoveOutcome::Refused;
    AnimeInfo& maze = self();
    maze.width = columns;
    maze.height = rows;
    maze.zoomX = maze.zoomY = pixelWidth_ / columns; // the maze keeps its width in pixels
    remake(columns, rows);
    return MoveOutcome::Moved;
}

void mazeInfo::restart(AnimeInfo& runner, mazeUinfo& r) {
    r.mazeRemade = false;
    r.run = mazeUinfo::Run::Off;
    r.trail.clear();
    r.walkIndex = 0;
    r.start = {1, board_.rows()};
    r.lastJunction = r.start;
    r.userColumn = r.start.column + 1;
    r.userRow = r.start.row + 1;
    if (r.mode >= mazeUinfo::UserWaiting) r.mode = mazeUinfo::UserWaiting;
    runner.chaseMode = 1;
    runner.gotoX = anchorX(r.start.column);
    runner.gotoY = anchorY(r.start.row);
}

MoveOutcome mazeInfo::moveByKey(GameKey key) {
    if (key == GameKey::NextStage) return resize(2);
    if (key == GameKey::PreviousStage) return resize(-2);
    const auto direction = BoardGrid::directionOfKey(key);
    if (!direction || !stepping_) return MoveOutcome::Refused;
    const int column = std::clamp(stepping_->userColumn + BoardGrid::dx(*direction), 0, board_.columns() + 1);
    const int row = std::clamp(stepping_->userRow + BoardGrid::dy(*direction), 0, board_.rows() + 1);
    if (column == stepping_->userColumn && row == stepping_->userRow) return MoveOutcome::Refused;
    if (board_.wall(column - 1, row - 1)) return MoveOutcome::Refused; // a step into a wall is taken back
    stepping_->userColumn = column;
    stepping_->userRow = row;
    return MoveOutcome::Moved;
}

int mazeInfo::playerColumn() const { return stepping_ ? stepping_->userColumn : 0; }
int mazeInfo::playerRow() const { return stepping_ ? stepping_->userRow : 0; }

int mazeInfo::clickColumn(int x) const {
    return std::clamp(cellOf(x - drawnLeft_, cellWidth_) + 1, 0, board_.columns() + 1);
}

int mazeInfo::clickRow(int y) const {
    return std::clamp(cellOf(y - drawnTop_, cellHeight_) + 1, 0, board_.rows() + 1);
}

void mazeInfo::stepPlayer(AnimeInfo& player) {
    const auto it = runners_.find(&player);
    if (it == runners_.end()) return;
    mazeUinfo& r = it->second;
    if (r.mazeRemade) restart(player, r);
    if (r.mode < mazeUinfo::UserWaiting) return;
    const AnimeHost* host = self().state ? self().state->host : nullptr;
    stepping_ = &r;
    if (r.mode == mazeUinfo::UserWaiting) {
        if (host && host->gamePadVisible()) {
            r.userColumn = r.start.column + 1;
            r.userRow = r.start.row + 1;
            r.mode = mazeUinfo::UserPlay;
        }
    } else {
        walkToClick();
        if (const GameKey key = takeKey(); key != GameKey::None) moveByKey(key);
    }
    stepping_ = nullptr;
    takeKey();
    player.gotoX = anchorX(r.userColumn - 1);
    player.gotoY = anchorY(r.userRow - 1);
    player.speed = kUserSpeed;
    // Out of the maze on the far side, or round its outside to there, counts as leaving.
    const bool borderRow = r.userRow == 0 || r.userRow == board_.rows() + 1;
    if (r.mode == mazeUinfo::UserPlay && borderRow && r.userColumn >= board_.columns() - 2) {
        r.mode = mazeUinfo::UserOut;
        if (showCheck(QStringLiteral("次の迷路に挑戦しますか?(Y/N"), QStringLiteral("迷路から出ました。"), 1) == 1)
            regenerate();
    }
}

void mazeInfo::playerArrived(AnimeInfo& player) {
    const auto it = runners_.find(&player);
    if (it == runners_.end()) return;
    mazeUinfo& r = it->second;
    if (r.mode != mazeUinfo::LeftHand && r.mode != mazeUinfo::RightHand) return;
    if (r.run != mazeUinfo::Run::Off) return;
    r.run = mazeUinfo::Run::Exploring;
    r.trail.assign(1, {toInt(player.X * 0.1), toInt(player.Y * 0.1)});
}

void mazeInfo::turnAtJunction(AnimeInfo& runner, const mazeUinfo& r, mazeUinfo::Cell at) {
    const auto heading = headingOf(runner);
    if (!heading) return;
    auto open = [&](int side) { return !board_.wall(at.column + kSideColumn[side], at.row + kSideRow[side]); };
    // The hand's side first, then ahead, then the other side; back when all are closed.
    const int hand = r.mode == mazeUinfo::LeftHand ? 3 : 1;
    int side = (*heading + 2) % 4;
    for (int turn : {hand, 0, 4 - hand})
        if (open((*heading + turn) % 4)) {
            side = (*heading + turn) % 4;
            break;
        }
    if (side == *heading) return;
    const double speed = std::abs(runner.vX) + std::abs(runner.vY);
    runner.setVelocity(kSideColumn[side] * speed, -kSideRow[side] * speed, runner.vZ);
}

void mazeInfo::playerEnteredPixel(AnimeInfo& player) {
    const auto it = runners_.find(&player);
    if (it == runners_.end()) return;
    mazeUinfo& r = it->second;
    if (r.run != mazeUinfo::Run::Exploring) return;
    double offsetX = 0, offsetY = 0;
    runnerCell(player, offsetX, offsetY);
    // Centring: across its way the runner draws a pixel nearer the middle of its row or column.
    auto toMiddle = [](double offset) { return offset >= 10 ? -kCentringStep : offset <= -10 ? kCentringStep : 0.0; };
    player.moveBy(player.vY != 0 ? toMiddle(offsetX) : 0, player.vX != 0 ? toMiddle(offsetY) : 0, 0, false);
    const mazeUinfo::Cell cell = runnerCell(player, offsetX, offsetY);

    // The trail: back near an older point, the loop since then is cut out. Back in the start
    // cell after a long round, the round is the way found.
    const mazeUinfo::Point p{toInt(player.X * 0.1), toInt(player.Y * 0.1)};
    const size_t n = r.trail.size();
    for (size_t i = 0; i + kRecentPoints < n; ++i) {
        const bool roundDone = i == 0 && n > kMinRoundPoints;
        const bool near = roundDone ? cell == r.start
                                    : std::abs(p.x - r.trail[i].x) < kLoopReach && std::abs(p.y - r.trail[i].y) < kLoopReach;
        if (!near) continue;
        if (roundDone) {
            r.run = mazeUinfo::Run::WalkingTrail;
            r.walkIndex = 0;
            player.chaseMode = 0;
            return;
        }
        r.trail.resize(i + 1);
        break;
    }
    if (r.trail.size() == n) r.trail.push_back(p);

    // At a cell's middle (once a cell) the runner takes the way its hand finds.
    const double reachX = self().zoomX * 10.0, reachY = self().zoomY * 10.0;
    const bool central = offsetX * offsetX <= reachX * reachX / 8 && offsetY * offsetY <= reachY * reachY / 8;
    if (!central || cell == r.lastJunction) return;
    r.lastJunction = cell;
    turnAtJunction(player, r, cell);
}

bool mazeInfo::followPath(AnimeInfo& player) {
    const auto it = runners_.find(&player);
    if (it == runners_.end() || it->second.run != mazeUinfo::Run::WalkingTrail) return false;
    mazeUinfo& r = it->second;
    if (r.walkIndex >= r.trail.size()) {
        r.walkIndex = 0;
        return true;
    }
    const mazeUinfo::Point p = r.trail[r.walkIndex++];
    player.moveBy(p.x * 10.0 - player.X, p.y * 10.0 - player.Y, 0, true);
    return true;
}

bool mazeInfo::draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) {
    const int64_t cw = int64_t(self.zoomX) * std::max(at.dotZoom, 1), ch = int64_t(self.zoomY) * std::max(at.dotZoomY, 1);
    const int64_t x = at.screenLeft, y = at.screenTop;
    drawnLeft_ = x;
    drawnTop_ = y;
    cellWidth_ = int(std::max<int64_t>(cw, 1));
    cellHeight_ = int(std::max<int64_t>(ch, 1));
    // Cells of a few pixels are drawn whole, larger ones with a pixel's gap to the next.
    const int64_t gapX = cw > 2 ? 1 : 0, gapY = ch > 2 ? 1 : 0;
    // Only the rows and columns that fall on the picture are looked at.
    const int64_t firstRow = std::max<int64_t>(0, -y / ch), lastRow = std::min<int64_t>(board_.rows() - 1, (canvas.height() - y) / ch);
    const int64_t firstColumn = std::max<int64_t>(0, -x / cw);
    const int64_t lastColumn = std::min<int64_t>(board_.columns() - 1, (canvas.width() - x) / cw);
    for (int64_t r = firstRow; r <= lastRow; ++r)
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            if (!board_.wall(int(c), int(r))) continue;
            // Without gaps a run of walls is one rectangle.
            int64_t end = c + 1;
            if (gapX == 0)
                while (end <= lastColumn && board_.wall(int(end), int(r))) ++end;
            canvas.fillRect(x + c * cw, y + r * ch, (end - c) * cw - gapX, ch - gapY, kWallColor);
            c = end - 1;
        }
    return true;
}

std::optional<QString> readMaze(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    BoardDeclaration d;
    if (auto faulty = readBoardPlace(fields, input, kMaxBoardSide, d)) return faulty;
    const auto type = readIntParam(fields, input, MazeBoard::Read, MazeBoard::SpanningTree);
    if (!type) return QStringLiteral("yzoom");
    if (!state.reservePixels(int64_t(d.wid) * d.hei)) return QStringLiteral("wid");
    if (*type == MazeBoard::Read) readBoardRows(input, d.hei, d.wid, d);
    AnimeInfo& c = createBoardCharacter(state, d, d.wid, d.hei);
    c.kind = std::make_unique<mazeInfo>(c, d, int(*type));
    return std::nullopt;
}

QString mazeInfo::rowText(int row) const {
    QString text;
    for (int c = 0; c < board_.columns(); ++c) text += QChar(u'0' + board_.at(c, row));
    return text;
}
