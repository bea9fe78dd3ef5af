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
    std::array<Bits, kUnits> used{};
    auto usedAt = [&](int cell) {
        const auto& u = t.unitsOf[size_t(cell)];
        return Bits(used[size_t(u[0])] | used[size_t(u[1])] | used[size_t(u[2])]);
    };
    auto mark = [&](int cell, int digit) {
        for (int u : t.unitsOf[size_t(cell)]) used[size_t(u)] ^= Bits(1u << digit);
    };
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
    auto someDigitLeft = [&](int cell) { return (~usedAt(cell) & kAllDigits) != 0; };
    for (int cell : empty)
        if (!someDigitLeft(cell)) return Solved::NoSolution;
    // The placed digit must leave every empty peer a digit; a dead end shows at once instead of
    // after the cells between.
    auto peersLive = [&](int cell) {
        for (int p : t.peers[size_t(cell)])
            if (solution_[size_t(p)] == 0 && !someDigitLeft(p)) return false;
        return true;
    };
    auto giveUp = [&](Solved why) {
        solution_ = givens_;
        return why;
    };
    size_t level = 0;
    while (level < empty.size()) {
        const int cell = empty[level];
        int digit = solution_[size_t(cell)];
        if (digit != 0) {
            mark(cell, digit);
            solution_[size_t(cell)] = 0;
        }
        bool placed = false;
        while (!placed && ++digit <= 9) {
            if (usedAt(cell) & (1u << digit)) continue;
            if (++nodes_ > budget) return giveUp(Solved::OverBudget);
            solution_[size_t(cell)] = int8_t(digit);
            mark(cell, digit);
            placed = peersLive(cell);
            if (!placed) {
                mark(cell, digit);
                solution_[size_t(cell)] = 0;
            }
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
