#include "SoukobanBoard.h"

#include <algorithm>
#include <cstdlib>

SoukobanBoard::SoukobanBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage)
    : grid_(width, height), stageCount_(std::max(stageCount, 1)), maps_(std::move(maps)) {
    maps_.resize(size_t(grid_.cells()) * size_t(stageCount_), Floor);
    stage_ = std::clamp(startStage, 0, stageCount_ - 1);
    loadStage();
}

int SoukobanBoard::at(int column, int row) const {
    const int cell = grid_.cellAt(column, row);
    return cell < 0 ? int(Wall) : int(board_[size_t(cell)]);
}

bool SoukobanBoard::isGoal(int cell) const { return cell >= 0 && goalCell_[size_t(cell)] != 0; }

bool SoukobanBoard::reachable(int cell) const { return cell >= 0 && reachable_[size_t(cell)] != 0; }

void SoukobanBoard::loadStage() {
    if (stage_ >= stageCount_) {
        allDone_ = true;
        return;
    }
    const size_t cells = size_t(grid_.cells());
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
    // Floor that the player can never reach is marked, so boxes are never pushed into it; boxes
    // it can never reach are never found dead, as no push can change them.
    std::vector<int8_t>& seen = reachable_;
    seen.assign(cells, 0);
    std::vector<int> todo;
    if (player_ >= 0) {
        todo.push_back(player_);
        seen[size_t(player_)] = 1;
    }
    while (!todo.empty()) {
        const int c = todo.back();
        todo.pop_back();
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int n = neighbour(c, d);
            if (n < 0 || seen[size_t(n)] || board_[size_t(n)] >= Wall) continue;
            seen[size_t(n)] = 1;
            todo.push_back(n);
        }
    }
    for (size_t i = 0; i < cells; ++i)
        if (!seen[i] && board_[i] == Floor) board_[i] = Unreachable;
    auto score = [&](int g) {
        int walls = 0;
        for (int d = 0; d < BoardGrid::kDirections; ++d) walls += isWall(neighbour(g, d)) ? 1 : 0;
        return (std::abs(grid_.column(g) - grid_.width() / 2) + std::abs(grid_.row(g) - grid_.height() / 2)) * 100 +
               1000 * walls;
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
    for (int f0 = 0; f0 < BoardGrid::kDirections; ++f0) {
        // The turns (right, up), (up, left), (left, down), (down, right).
        const int g0 = (f0 + 1) % BoardGrid::kDirections;
        const int fx = BoardGrid::dx(f0), fy = BoardGrid::dy(f0), gx = BoardGrid::dx(g0), gy = BoardGrid::dy(g0);
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
    for (int d = 0; d < BoardGrid::kDirections; ++d)
        if (isWall(neighbour(x, d)) && isWall(neighbour(x, (d + 1) % BoardGrid::kDirections))) return true;
    return false;
}

bool SoukobanBoard::deadAfterPush(int b) const {
    auto boxesNear = [&](int reach, auto&& dead) {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                const int x = offset(b, dx, dy);
                if (isBox(x) && reachable(x) && !isGoal(x) && dead(x)) return true;
            }
        return false;
    };
    if (boxesNear(2, [&](int x) { return patternDead(x); })) return true;
    return !isGoal(b) && boxesNear(1, [&](int x) { return cornerDead(x); });
}

bool SoukobanBoard::step(int direction, bool checked) { return apply(direction, checked, true); }

bool SoukobanBoard::walkStep(int direction) { return apply(direction, false, false); }

bool SoukobanBoard::apply(int direction, bool checked, bool recorded) {
    if (allDone_ || player_ < 0) return false;
    const int p = player_, t = neighbour(p, direction);
    if (t < 0 || board_[size_t(t)] == Wall) return false;
    UndoRecord record;
    auto change = [&](int slot, int cell, int8_t value) {
        record.cell[size_t(slot)] = cell;
        record.old[size_t(slot)] = board_[size_t(cell)];
        board_[size_t(cell)] = value;
    };
    const int8_t left = isGoal(p) ? Goal : Floor;
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
    if (recorded) undo_.push_back(record);
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

MoveOutcome SoukobanBoard::move(GameKey key) {
    switch (key) {
    case GameKey::NextStage:
        if (stage_ >= stageCount_ - 1) return MoveOutcome::Refused;
        goToStage(stage_ + 1);
        return MoveOutcome::Moved;
    case GameKey::PreviousStage:
        if (stage_ <= 0) return MoveOutcome::Refused;
        goToStage(stage_ - 1);
        return MoveOutcome::Moved;
    case GameKey::Undo: return undo() ? MoveOutcome::Moved : MoveOutcome::Refused;
    default: break;
    }
    const auto direction = BoardGrid::directionOfKey(key);
    return direction ? moveInDirection(*direction) : MoveOutcome::Refused;
}

MoveOutcome SoukobanBoard::moveInDirection(int direction) {
    if (!step(direction, true)) return MoveOutcome::Refused;
    if (emptyGoals() > 0) return MoveOutcome::Moved;
    ++stage_;
    loadStage();
    return allDone_ ? MoveOutcome::AllCleared : MoveOutcome::StageCleared;
}
