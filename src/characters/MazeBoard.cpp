#include "MazeBoard.h"

#include "common/Random.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int8_t kFree = 0, kWall = 1;

// A value in 0..n-1 (n below 2^30) from two draws of the 15-bit sequence, so that mazes of a
// million cells still pick among all their rooms. Cost: constant.
int randomBelow(int n) {
    const int64_t r = (int64_t(vimoraRand()) << 15) | int64_t(vimoraRand());
    return n <= 1 ? 0 : int(r % n);
}

// Column and row steps of the directions right, down, left, up.
constexpr int kDx[] = {1, 0, -1, 0};
constexpr int kDy[] = {0, 1, 0, -1};

} // namespace

MazeBoard::MazeBoard(int columns, int rows)
    : columns_(std::max(columns, 1)), rows_(std::max(rows, 1)), cells_(size_t(columns_) * size_t(rows_), kFree) {}

void MazeBoard::set(int column, int row, int value) {
    if (inside(column, row)) cells_[size_t(row) * size_t(columns_) + size_t(column)] = int8_t(value);
}

void MazeBoard::read(std::vector<int8_t> cells) {
    cells_ = std::move(cells);
    cells_.resize(size_t(columns_) * size_t(rows_), kFree);
    for (int8_t& v : cells_) v = std::clamp<int8_t>(v, 0, 9);
}

void MazeBoard::generate(int columns, int rows, Type type) {
    columns_ = std::max(columns, 1);
    rows_ = std::max(rows, 1);
    cells_.assign(size_t(columns_) * size_t(rows_), type == Read ? kFree : kWall);
    if (type == Read) return;
    // The methods need odd sizes (rooms between wall lines); an even size keeps its last line
    // inside the border as wall.
    const int w = columns_ - (columns_ % 2 == 0 ? 1 : 0), h = rows_ - (rows_ % 2 == 0 ? 1 : 0);
    if (type == StickDown) {
        stickDown(w, h);
        opening(1, rows_ - 1);
        opening(w - 2, rows_ - 1);
    } else {
        spanningTree(w, h);
        opening(1, rows_ - 1);
        opening(w - 2, 0);
    }
}

void MazeBoard::opening(int column, int row) {
    // Only the border's cells can be openings: a maze too small to have one at a place has none.
    if (column <= 0 || column >= columns_ - 1) return;
    set(column, row, kFree);
    // Below an even height's extra wall row the way in goes on through the odd part's border.
    if (row == rows_ - 1 && rows_ % 2 == 0 && rows_ > 2) set(column, row - 1, kFree);
}

void MazeBoard::stickDown(int w, int h) {
    for (int r = 1; r < h - 1; ++r)
        for (int c = 1; c < w - 1; ++c) set(c, r, kFree);
    // Each post drops one arm onto a free cell: right, down or left, and up only in the first
    // row of posts. No arm ever closes a ring of walls, so all free cells stay connected.
    for (int r = 2; r < h - 1; r += 2)
        for (int c = 2; c < w - 1; c += 2) {
            set(c, r, kWall);
            std::array<int, 4> free{};
            int count = 0;
            for (int d = 0; d < (r == 2 ? 4 : 3); ++d)
                if (!wall(c + kDx[d], r + kDy[d])) free[size_t(count++)] = d;
            if (count == 0) continue; // nothing to lean on: the post stays without an arm
            const int d = free[size_t(randomBelow(count))];
            set(c + kDx[d], r + kDy[d], kWall);
        }
}

void MazeBoard::spanningTree(int w, int h) {
    const int roomRows = (h - 1) / 2, roomColumns = (w - 1) / 2;
    if (roomRows <= 0 || roomColumns <= 0) return;
    const int rooms = roomRows * roomColumns;
    enum : int8_t { Outside, Frontier, InTree };
    std::vector<int8_t> state(size_t(rooms), Outside);
    std::vector<int> frontier;
    frontier.reserve(size_t(std::min(rooms, 1 << 16)));
    auto cellColumn = [&](int room) { return 2 * (room % roomColumns) + 1; };
    auto cellRow = [&](int room) { return 2 * (room / roomColumns) + 1; };
    auto neighbour = [&](int room, int d) {
        const int i = room / roomColumns + kDy[d], j = room % roomColumns + kDx[d];
        return i < 0 || j < 0 || i >= roomRows || j >= roomColumns ? -1 : i * roomColumns + j;
    };
    auto join = [&](int room) {
        state[size_t(room)] = InTree;
        set(cellColumn(room), cellRow(room), kFree);
        for (int d = 0; d < 4; ++d) {
            const int n = neighbour(room, d);
            if (n >= 0 && state[size_t(n)] == Outside) {
                state[size_t(n)] = Frontier;
                frontier.push_back(n);
            }
        }
    };
    join(roomColumns - 1); // the last room of the first room row
    while (!frontier.empty()) {
        const size_t k = size_t(randomBelow(int(frontier.size())));
        const int room = frontier[k];
        frontier[k] = frontier.back(); // the order of the frontier does not matter: no shifting
        frontier.pop_back();
        std::array<int, 4> sides{0, 1, 2, 3};
        for (int i = 3; i > 0; --i) std::swap(sides[size_t(i)], sides[size_t(randomBelow(i + 1))]);
        for (int d : sides) {
            const int n = neighbour(room, d);
            if (n < 0 || state[size_t(n)] != InTree) continue;
            set(cellColumn(room) + kDx[d], cellRow(room) + kDy[d], kFree);
            break;
        }
        join(room);
    }
}
