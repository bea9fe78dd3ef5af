#include "PitmanBoard.h"

#include <algorithm>

PitmanBoard::PitmanBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage)
    : grid_(width, height), stageCount_(std::max(stageCount, 1)), maps_(std::move(maps)) {
    maps_.resize(size_t(grid_.cells()) * size_t(stageCount_), Empty);
    for (int8_t& v : maps_)
        if (v < Empty || v > Figure) v = Empty;
    loadStage(startStage);
}

void PitmanBoard::loadStage(int stage) {
    stage_ = std::clamp(stage, 0, stageCount_ - 1);
    const size_t cells = size_t(grid_.cells());
    const auto first = maps_.begin() + std::ptrdiff_t(cells * size_t(stage_));
    map_.assign(first, first + std::ptrdiff_t(cells));
    ladder_.assign(cells, 0);
    player_ = -1;
    for (size_t i = 0; i < cells; ++i) {
        if (map_[i] == Ladder) ladder_[i] = 1;
        // One player: a second one in the map is empty.
        if (map_[i] == Player) {
            if (player_ < 0) player_ = int(i);
            else map_[i] = Empty;
        }
    }
    hadGold_ = goldLeft() > 0;
    snapshots_.clear();
}

int PitmanBoard::goldLeft() const {
    return int(std::count_if(map_.begin(), map_.end(), [](int8_t v) { return v == Gold || v == FixedGold; }));
}

MoveOutcome PitmanBoard::complete() {
    // A map declared without gold has nothing to collect and never completes.
    if (!hadGold_ || goldLeft() > 0) return MoveOutcome::Refused;
    const bool last = stage_ + 1 >= stageCount_;
    loadStage(last ? 0 : stage_ + 1);
    return last ? MoveOutcome::AllCleared : MoveOutcome::StageCleared;
}

bool PitmanBoard::fall() {
    bool fell = false;
    // From the last cell to the first, so that a thing that fell is not moved again this row.
    for (int c = grid_.cells() - 1 - grid_.width(); c >= 0; --c) {
        const int v = map_[size_t(c)];
        if (v != Gold && v != Rock && v != Player) continue;
        const int below = c + grid_.width();
        if (map_[size_t(below)] != Empty || ladder_[size_t(c)]) continue;
        map_[size_t(below)] = int8_t(v);
        map_[size_t(c)] = Empty;
        if (c == player_) player_ = below;
        fell = true;
    }
    return fell;
}

void PitmanBoard::snapshot() {
    if (snapshots_.size() == kMaxSnapshots) snapshots_.pop_front();
    snapshots_.push_back({map_, player_});
}

void PitmanBoard::enter(int to) {
    map_[size_t(player_)] = ladder_[size_t(player_)] ? Ladder : Empty;
    map_[size_t(to)] = Player;
    player_ = to;
}

MoveOutcome PitmanBoard::move(GameKey key) {
    switch (key) {
    case GameKey::NextStage:
        if (stage_ >= stageCount_ - 1) return MoveOutcome::Refused;
        loadStage(stage_ + 1);
        return MoveOutcome::Moved;
    case GameKey::PreviousStage:
        if (stage_ <= 0) return MoveOutcome::Refused;
        loadStage(stage_ - 1);
        return MoveOutcome::Moved;
    case GameKey::Undo:
        if (snapshots_.empty()) return MoveOutcome::Refused;
        map_ = std::move(snapshots_.back().map);
        player_ = snapshots_.back().player;
        snapshots_.pop_back();
        return MoveOutcome::Moved;
    default: break;
    }
    const auto direction = BoardGrid::directionOfKey(key);
    if (!direction || player_ < 0) return MoveOutcome::Refused;
    // Steps off the board, and a push that would leave the row, have no cell: -1.
    const int to = grid_.neighbour(player_, *direction);
    if (to < 0) return MoveOutcome::Refused;
    const int v = map_[size_t(to)];
    if (*direction == BoardGrid::Left || *direction == BoardGrid::Right) {
        if (v <= Earth) {
            snapshot();
            enter(to);
            return MoveOutcome::Moved;
        }
        const int beyond = grid_.neighbour(to, *direction);
        if (v != Rock || beyond < 0 || map_[size_t(beyond)] != Empty) return MoveOutcome::Refused;
        snapshot();
        map_[size_t(beyond)] = Rock;
        enter(to);
        return MoveOutcome::Moved;
    }
    const bool down = *direction == BoardGrid::Down;
    if (!(v == Ladder && down) && !((v == Empty || v == Ladder) && onLadder(player_))) return MoveOutcome::Refused;
    snapshot();
    enter(to);
    return MoveOutcome::Moved;
}
