#include "NumLinkBoard.h"

#include <algorithm>

NumLinkBoard::NumLinkBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage)
    : grid_(width, height), stageCount_(std::max(stageCount, 1)), maps_(std::move(maps)) {
    maps_.resize(size_t(grid_.cells()) * size_t(stageCount_), 0);
    for (int8_t& v : maps_)
        if (!isNumber(v)) v = 0;
    loadStage(startStage);
}

bool NumLinkBoard::hasPairs() const {
    return std::any_of(pairs_.begin(), pairs_.end(), [](const Pair& p) { return p.complete(); });
}

void NumLinkBoard::loadStage(int stage) {
    stage_ = std::clamp(stage, 0, stageCount_ - 1);
    const size_t cells = size_t(grid_.cells());
    const auto first = maps_.begin() + std::ptrdiff_t(cells * size_t(stage_));
    board_.assign(first, first + std::ptrdiff_t(cells));
    pairs_.clear();
    for (size_t i = 0; i < cells; ++i) {
        const int v = board_[i];
        if (!isNumber(v)) continue;
        if (int(pairs_.size()) < v) pairs_.resize(size_t(v));
        Pair& p = pairs_[size_t(v - 1)];
        if (p.first < 0) p.first = int(i);
        else if (p.second < 0) p.second = int(i);
    }
    selected_ = 0;
    drawing_ = false;
    linkedCells_ = 0;
}

bool NumLinkBoard::drawAt(int cell) {
    // Without a selected number there is no colour to draw with.
    if (!isNumber(selected_) || board_[size_t(cell)] != 0) return false;
    for (int d = 0; d < BoardGrid::kDirections; ++d) {
        const int n = grid_.neighbour(cell, d);
        if (n >= 0 && at(n) != 0 && colour(n) == selected_) {
            board_[size_t(cell)] = int8_t(selected_ + kPath);
            return true;
        }
    }
    return false;
}

MoveOutcome NumLinkBoard::key(GameKey key) {
    const int p = cursor_;
    const int c = at(p);
    switch (key) {
    case GameKey::NextStage:
        if (stage_ >= stageCount_ - 1) return MoveOutcome::Refused;
        loadStage(stage_ + 1);
        return MoveOutcome::Moved;
    case GameKey::PreviousStage:
        if (stage_ <= 0) return MoveOutcome::Refused;
        loadStage(stage_ - 1);
        return MoveOutcome::Moved;
    case GameKey::Enter:
    case GameKey::Space:
        if (isNumber(c)) {
            // Enter on any number toggles the pen, so Enter on the pair's other end lifts it.
            selected_ = c;
            drawing_ = !drawing_;
            return MoveOutcome::Moved;
        }
        if (c == 0 || c == kPath) return drawAt(p) ? MoveOutcome::Moved : MoveOutcome::Refused;
        board_[size_t(p)] = 0;
        return MoveOutcome::Moved;
    default: break;
    }
    const auto direction = BoardGrid::directionOfKey(key);
    if (!direction) return MoveOutcome::Refused;
    const int to = grid_.neighbour(p, *direction);
    if (to < 0) return MoveOutcome::Refused;
    cursor_ = to;
    if (!drawing_) return MoveOutcome::Moved;
    const int a = at(to);
    if (a != 0 && colour(to) != selected_) {
        cursor_ = p; // another colour's number or path: refused
        return MoveOutcome::Refused;
    }
    if (a == 0) drawAt(to);
    else if (isPath(a) && isPath(c)) board_[size_t(p)] = 0; // walking back takes the path up
    return MoveOutcome::Moved;
}

bool NumLinkBoard::linked(int number, std::vector<int>& stack, std::vector<uint8_t>& seen, int& met) const {
    const Pair& pr = pair(number);
    if (!pr.complete()) return true; // no pair: nothing to join
    stack.assign(1, pr.first);
    seen[size_t(pr.first)] = 1;
    bool reached = false;
    while (!stack.empty()) {
        const int cell = stack.back();
        stack.pop_back();
        if (cell == pr.second) reached = true;
        if (isPath(at(cell))) ++met;
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int n = grid_.neighbour(cell, d);
            if (n < 0 || seen[size_t(n)] || at(n) == 0 || colour(n) != number) continue;
            seen[size_t(n)] = 1;
            stack.push_back(n);
        }
    }
    return reached;
}

bool NumLinkBoard::allLinked() {
    std::vector<int> stack;
    std::vector<uint8_t> seen(size_t(grid_.cells()), 0);
    int met = 0;
    bool all = hasPairs();
    for (int n = 1; n <= pairCount(); ++n)
        if (!linked(n, stack, seen, met)) all = false;
    linkedCells_ = met;
    return all;
}

MoveOutcome NumLinkBoard::complete() {
    if (!allLinked()) return MoveOutcome::Refused;
    const bool last = stage_ + 1 >= stageCount_;
    loadStage(last ? 0 : stage_ + 1);
    return last ? MoveOutcome::AllCleared : MoveOutcome::StageCleared;
}

void NumLinkBoard::fadeIn() {
    for (int8_t& v : board_)
        if (v > kPath && v < kLine) v = int8_t(v + kFadeStep);
}
