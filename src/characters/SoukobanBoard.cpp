#include "SoukobanBoard.h"

#include "BoardGame.h"
#include "common/ShowCheck.h"

#include <QString>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kDx[4] = {1, 0, -1, 0};
constexpr int kDy[4] = {0, -1, 0, 1};

} // namespace

SoukobanBoard::SoukobanBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), stageCount_(std::max(stageCount, 1)),
      maps_(std::move(maps)) {
    maps_.resize(size_t(width_) * size_t(height_) * size_t(stageCount_), Floor);
    stage_ = std::clamp(startStage, 0, stageCount_ - 1);
    loadStage();
}

int SoukobanBoard::at(int column, int row) const {
    if (column < 0 || row < 0 || column >= width_ || row >= height_) return Wall;
    return board_[size_t(row) * size_t(width_) + size_t(column)];
}

int SoukobanBoard::offset(int cell, int dx, int dy) const {
    if (cell < 0) return -1;
    const int column = cell % width_ + dx, row = cell / width_ + dy;
    if (column < 0 || row < 0 || column >= width_ || row >= height_) return -1;
    return row * width_ + column;
}

int SoukobanBoard::neighbour(int cell, int direction) const {
    return offset(cell, kDx[direction & 3], kDy[direction & 3]);
}

bool SoukobanBoard::isGoalCell(int cell) const { return cell >= 0 && goalCell_[size_t(cell)] != 0; }

void SoukobanBoard::loadStage() {
    if (stage_ >= stageCount_) {
        allDone_ = true;
        return;
    }
    const size_t cells = size_t(width_) * size_t(height_);
    board_.assign(maps_.begin() + std::ptrdiff_t(cells * size_t(stage_)),
                  maps_.begin() + std::ptrdiff_t(cells * size_t(stage_ + 1)));
    goalCell_.assign(cells, 0);
    goals_.clear();
    player_ = -1;
    for (size_t i = 0; i < cells; ++i) {
        if (board_[i] == Goal) {
            goalCell_[i] = 1;
            goals_.push_back(int(i));
        } else if (board_[i] == Player) {
            // One player: a second one in the map is floor.
            if (player_ < 0) player_ = int(i);
            else board_[i] = Floor;
        } else if (board_[i] < Floor || board_[i] > Wall) {
            board_[i] = Floor;
        }
    }
    // Floor that the player can never reach is marked, so boxes are never pushed into it.
    std::vector<int8_t> seen(cells, 0);
    std::vector<int> todo;
    if (player_ >= 0) todo.push_back(player_), seen[size_t(player_)] = 1;
    while (!todo.empty()) {
        const int c = todo.back();
        todo.pop_back();
        for (int d = 0; d < 4; ++d) {
            const int n = neighbour(c, d);
            if (n >= 0 && !seen[size_t(n)] && board_[size_t(n)] < Wall) seen[size_t(n)] = 1, todo.push_back(n);
        }
    }
    for (size_t i = 0; i < cells; ++i)
        if (!seen[i] && board_[i] == Floor) board_[i] = Unreachable;
    auto score = [&](int g) {
        const int column = g % width_, row = g / width_;
        int walls = 0;
        for (int d = 0; d < 4; ++d) walls += isWall(neighbour(g, d)) ? 1 : 0;
        return (std::abs(column - width_ / 2) + std::abs(row - height_ / 2)) * 100 + 1000 * walls;
    };
    std::stable_sort(goals_.begin(), goals_.end(), [&](int a, int b) { return score(a) > score(b); });
    undo_.clear();
    allDone_ = false;
}

void SoukobanBoard::goToStage(int stage) {
    stage_ = std::clamp(stage, 0, stageCount_);
    loadStage();
}

int SoukobanBoard::emptyGoals() const {
    int empty = 0;
    for (int g : goals_) empty += board_[size_t(g)] != Box ? 1 : 0;
    return empty;
}

bool SoukobanBoard::patternDead(int x) const {
    static constexpr int turns[4][2] = {{Right, Up}, {Up, Left}, {Left, Down}, {Down, Right}};
    for (const auto& turn : turns) {
        const int fx = kDx[turn[0]], fy = kDy[turn[0]], gx = kDx[turn[1]], gy = kDy[turn[1]];
        const int f = offset(x, fx, fy), g = offset(x, gx, gy), fg = offset(x, fx + gx, fy + gy);
        if (!blocked(f) || !blocked(g)) continue;
        if (blocked(fg)) return true; // a 2 x 2 block
        if (board_[size_t(fg)] > Goal) continue;
        const int f2g = offset(x, 2 * fx + gx, 2 * fy + gy), fg2 = offset(x, fx + 2 * gx, fy + 2 * gy);
        const int g2 = offset(x, 2 * gx, 2 * gy), f2 = offset(x, 2 * fx, 2 * fy);
        const int f2g2 = offset(x, 2 * fx + 2 * gx, 2 * fy + 2 * gy);
        if (isWall(f2g) && isWall(fg2)) return true;
        if (isWall(f2g) && isBox(fg2) && (isWall(g2) || isWall(f2g2))) return true;
        if (isBox(f2g) && isWall(fg2) && (isWall(f2) || isWall(f2g2))) return true;
    }
    return false;
}

bool SoukobanBoard::cornerDead(int x) const {
    for (int d = 0; d < 4; ++d)
        if (isWall(neighbour(x, d)) && isWall(neighbour(x, (d + 1) % 4))) return true;
    return false;
}

bool SoukobanBoard::deadAfterPush(int b) const {
    auto boxesNear = [&](int reach, auto&& dead) {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                const int x = offset(b, dx, dy);
                if (isBox(x) && !isGoalCell(x) && dead(x)) return true;
            }
        return false;
    };
    if (boxesNear(2, [&](int x) { return patternDead(x); })) return true;
    return !isGoalCell(b) && boxesNear(1, [&](int x) { return cornerDead(x); });
}

bool SoukobanBoard::step(int direction, bool checked) {
    if (allDone_ || player_ < 0) return false;
    const int p = player_, t = neighbour(p, direction);
    if (t < 0 || board_[size_t(t)] == Wall) return false;
    UndoRecord record;
    auto change = [&](int slot, int cell, int8_t value) {
        record.cell[size_t(slot)] = cell;
        record.old[size_t(slot)] = board_[size_t(cell)];
        board_[size_t(cell)] = value;
    };
    const int8_t left = isGoalCell(p) ? Goal : Floor;
    if (board_[size_t(t)] == Box) {
        const int b = neighbour(t, direction);
        if (b < 0 || board_[size_t(b)] >= Player) return false;
        change(0, p, left);
        change(1, t, Player);
        change(2, b, Box);
        if (checked && deadAfterPush(b)) {
            for (int i = 2; i >= 0; --i) board_[size_t(record.cell[size_t(i)])] = record.old[size_t(i)];
            return false;
        }
    } else if (board_[size_t(t)] <= Goal) {
        change(0, p, left);
        change(1, t, Player);
    } else {
        return false; // a search mark or unreachable floor
    }
    player_ = t;
    undo_.push_back(record);
    return true;
}

bool SoukobanBoard::undo() {
    // Once every stage is cleared the board shows the last one as it was finished.
    if (allDone_ || undo_.empty()) return false;
    const UndoRecord record = undo_.back();
    undo_.pop_back();
    for (int i = 2; i >= 0; --i) {
        const int cell = record.cell[size_t(i)];
        if (cell < 0) continue;
        board_[size_t(cell)] = record.old[size_t(i)];
        if (record.old[size_t(i)] == Player) player_ = cell;
    }
    return true;
}

int SoukobanBoard::move(int key) {
    switch (key) {
    case GameKey::NextStage:
        if (stage_ < stageCount_ - 1) goToStage(stage_ + 1);
        return emptyGoals();
    case GameKey::PreviousStage:
        if (stage_ > 0) goToStage(stage_ - 1);
        return emptyGoals();
    case GameKey::Undo:
        return undo() ? emptyGoals() : -1;
    default: break;
    }
    int direction = -1;
    switch (key) {
    case GameKey::Left: direction = Left; break;
    case GameKey::Up: direction = Up; break;
    case GameKey::Right: direction = Right; break;
    case GameKey::Down: direction = Down; break;
    default: return -1;
    }
    if (!step(direction, true)) return -1;
    const int empty = emptyGoals();
    if (empty > 0) return empty;
    const int cleared = ++stage_;
    const QString caption = QStringLiteral("第%1倉庫は片付きました！").arg(cleared);
    showCheck(cleared >= stageCount_ ? QStringLiteral("全ての倉庫が片付きました。")
                                     : QStringLiteral("次の倉庫に移動します。"),
              caption, 0);
    loadStage();
    return 0;
}
