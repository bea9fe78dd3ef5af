#include "SudokuBoard.h"

#include <algorithm>

namespace {

using Bits = uint16_t;                  // bit d for the digit d
constexpr Bits kAllDigits = 0x3FE;      // the digits 1 to 9

struct Tables {
    std::array<SudokuBoard::Unit, SudokuBoard::kUnits> units{};
    std::array<std::array<int, 3>, SudokuBoard::kCells> unitsOf{};
    std::array<std::array<int, 20>, SudokuBoard::kCells> peers{};
};

const Tables& tables() {
    static const Tables t = [] {
        Tables t;
        constexpr int n = SudokuBoard::kSide;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                t.units[size_t(i)][size_t(k)] = i * n + k;                   // row i
                t.units[size_t(n + i)][size_t(k)] = k * n + i;               // column i
                t.units[size_t(2 * n + i)][size_t(k)] = (3 * (i / 3) + k / 3) * n + 3 * (i % 3) + k % 3; // box i
            }
        for (int u = 0; u < SudokuBoard::kUnits; ++u)
            for (int cell : t.units[size_t(u)]) t.unitsOf[size_t(cell)][size_t(u / n)] = u;
        for (int cell = 0; cell < SudokuBoard::kCells; ++cell) {
            size_t count = 0;
            for (int u : t.unitsOf[size_t(cell)])
                for (int p : t.units[size_t(u)]) {
                    auto& peers = t.peers[size_t(cell)];
                    if (p != cell && std::find(peers.begin(), peers.begin() + std::ptrdiff_t(count), p) == peers.begin() + std::ptrdiff_t(count))
                        peers[count++] = p;
                }
        }
        return t;
    }();
    return t;
}

} // namespace

const std::array<SudokuBoard::Unit, SudokuBoard::kUnits>& SudokuBoard::units() { return tables().units; }
const std::array<std::array<int, 3>, SudokuBoard::kCells>& SudokuBoard::unitsOf() { return tables().unitsOf; }

SudokuBoard::SudokuBoard(int columns, int rows, std::vector<int8_t> givens)
    : columns_(std::max(columns, 1)), rows_(std::max(rows, 1)), givens_(std::move(givens)) {
    givens_.resize(size_t(columns_) * size_t(rows_), 0);
    for (int8_t& g : givens_)
        if (g < 1 || g > 9) g = 0;
    board_ = givens_;
    solution_ = givens_;
}

SudokuBoard::Solved SudokuBoard::solve(int64_t budget) {
    nodes_ = 0;
    std::replace(givens_.begin(), givens_.end(), kWrong, int8_t(0)); // marks are no digits
    board_ = givens_;
    solution_ = givens_;
    if (!plays()) return Solved::NoSolution;
    const Tables& t = tables();
    // The digits placed in each unit, and for each unit and digit the empty cells that could
    // still take it: a placement that leaves an empty cell without a digit, or a unit without a
    // place for a digit it lacks, is a dead end at once.
    std::array<Bits, kUnits> used{};
    std::array<std::array<int8_t, 10>, kUnits> places{};
    auto usedAt = [&](int cell) {
        const auto& u = t.unitsOf[size_t(cell)];
        return Bits(used[size_t(u[0])] | used[size_t(u[1])] | used[size_t(u[2])]);
    };
    auto candidates = [&](int cell) { return Bits(~usedAt(cell) & kAllDigits); };
    auto mark = [&](int cell, int digit) {
        for (int u : t.unitsOf[size_t(cell)]) used[size_t(u)] ^= Bits(1u << digit);
    };
    auto count = [&](int cell, Bits digits, int delta) {
        for (int d = 1; d <= 9; ++d)
            if (digits & (1u << d))
                for (int u : t.unitsOf[size_t(cell)]) places[size_t(u)][size_t(d)] = int8_t(places[size_t(u)][size_t(d)] + delta);
    };
    auto placeable = [&](int u, int d) { return (used[size_t(u)] & (1u << d)) || places[size_t(u)][size_t(d)] > 0; };

    std::vector<int> empty;
    for (int cell = 0; cell < kCells; ++cell) {
        const int d = solution_[size_t(cell)];
        if (d == 0) {
            empty.push_back(cell);
        } else {
            if (usedAt(cell) & (1u << d)) return Solved::NoSolution; // the givens contradict each other
            mark(cell, d);
        }
    }
    for (int cell : empty) count(cell, candidates(cell), 1);
    for (int cell : empty)
        if (candidates(cell) == 0) return Solved::NoSolution;
    for (int u = 0; u < kUnits; ++u)
        for (int d = 1; d <= 9; ++d)
            if (!placeable(u, d)) return Solved::NoSolution;

    // Per level the peers (bits of the peer list) that lost the placed digit.
    std::vector<uint32_t> lost(empty.size(), 0);
    auto place = [&](int cell, int digit, uint32_t& lostPeers) {
        const Bits bit = Bits(1u << digit), before = candidates(cell);
        const auto& peers = t.peers[size_t(cell)];
        lostPeers = 0;
        for (size_t i = 0; i < peers.size(); ++i)
            if (solution_[size_t(peers[i])] == 0 && (candidates(peers[i]) & bit)) {
                lostPeers |= 1u << i;
                count(peers[i], bit, -1);
            }
        count(cell, before, -1);
        mark(cell, digit);
        solution_[size_t(cell)] = int8_t(digit);
        for (size_t i = 0; i < peers.size(); ++i) {
            if (!(lostPeers & (1u << i))) continue;
            if (candidates(peers[i]) == 0) return false;
            for (int u : t.unitsOf[size_t(peers[i])])
                if (!placeable(u, digit)) return false;
        }
        for (int u : t.unitsOf[size_t(cell)])
            for (int d = 1; d <= 9; ++d)
                if ((before & (1u << d)) && !placeable(u, d)) return false;
        return true;
    };
    auto unplace = [&](int cell, uint32_t lostPeers) {
        const int digit = solution_[size_t(cell)];
        mark(cell, digit);
        solution_[size_t(cell)] = 0;
        count(cell, candidates(cell), 1);
        const auto& peers = t.peers[size_t(cell)];
        for (size_t i = 0; i < peers.size(); ++i)
            if (lostPeers & (1u << i)) count(peers[i], Bits(1u << digit), 1);
    };
    auto giveUp = [&](Solved why) {
        solution_ = givens_;
        return why;
    };
    size_t level = 0;
    while (level < empty.size()) {
        const int cell = empty[level];
        int digit = solution_[size_t(cell)];
        if (digit != 0) unplace(cell, lost[level]);
        bool placed = false;
        while (!placed && ++digit <= 9) {
            if (!(candidates(cell) & (1u << digit))) continue;
            if (++nodes_ > budget) return giveUp(Solved::OverBudget);
            placed = place(cell, digit, lost[level]);
            if (!placed) unplace(cell, lost[level]);
        }
        if (placed) {
            ++level;
        } else {
            if (level == 0) return giveUp(Solved::NoSolution);
            --level;
        }
    }
    return Solved::Found;
}

SudokuBoard::Change SudokuBoard::changed() { return check() ? Change::Full : Change::Changed; }

SudokuBoard::Change SudokuBoard::increase(int cell) {
    if (!plays() || isGiven(cell) || board_[size_t(cell)] > 8) return Change::Refused;
    ++board_[size_t(cell)];
    return changed();
}

SudokuBoard::Change SudokuBoard::decrease(int cell) {
    if (!plays() || isGiven(cell) || board_[size_t(cell)] < 2) return Change::Refused;
    --board_[size_t(cell)];
    return changed();
}

SudokuBoard::Change SudokuBoard::press(int cell) {
    if (!plays()) return Change::Refused;
    int8_t& digit = board_[size_t(cell)];
    bool did = true;
    if (isGiven(cell)) highlighted_ = highlighted_ == digit ? -1 : digit;
    else if (digit != 0) digit = 0;
    else if (highlighted_ > 0) digit = int8_t(highlighted_);
    else did = false;
    // The board is checked after every press, so a full board tells so again.
    if (check()) return Change::Full;
    return did ? Change::Changed : Change::Refused;
}

bool SudokuBoard::check() {
    if (!plays()) return false;
    std::replace(givens_.begin(), givens_.end(), kWrong, int8_t(0));
    for (const Unit& unit : units()) {
        std::array<int, 10> count{};
        for (int cell : unit) ++count[size_t(board_[size_t(cell)])];
        for (int cell : unit) {
            const int d = board_[size_t(cell)];
            if (d != 0 && !isGiven(cell) && count[size_t(d)] > 1) givens_[size_t(cell)] = kWrong;
        }
    }
    return std::find(board_.begin(), board_.end(), 0) == board_.end();
}

void SudokuBoard::fill(int cell) { board_[size_t(cell)] = solution_[size_t(cell)]; }
