// The metaball: a square map of density (0 to 100 per cell) shaped as a flat disc, a cone or a
// steep peak. Where metaballs overlap their densities add up (the sum is not capped); the sum
// is drawn as grey shading (mode 0) or as one merged blob of the cells above 50.
#pragma once

#include "anime/AnimeKind.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class AnimeBlockInput;
class AnimeState;

class metaBallInfo : public AnimeKind {
public:
    enum class Shape { Flat, Cone, Peak };
    static constexpr int kMaxSide = 1000;
    // Density a cell of the blob must pass to be drawn.
    static constexpr int kBlobThreshold = 50;
    static constexpr uint32_t kBlobColor = 0xC0FFFF;

    // The density map of side `side`; `value` is the density of a flat disc. Cost: side^2.
    metaBallInfo(AnimeInfo& self, int side, Shape shape, int value);

    int kindCode() const override;
    // Sums the densities of every metaball (visible or not) over this one's map and draws the
    // cells; only the part on the picture is summed and drawn when the window does not rotate.
    // Cost: the visible cells times the overlapping metaballs, plus the drawn pixels.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    int side() const { return side_; }
    // Own density of cell (column, row). Cost: constant.
    int density(int column, int row) const { return map_[size_t(row) * size_t(side_) + size_t(column)]; }
    // Summed density of cell (column, row) at the last drawing (cells not drawn then are stale).
    int summed(int column, int row) const { return sum_[size_t(row) * size_t(side_) + size_t(column)]; }

private:
    // Cell rows and columns [first, end) of the map that the drawing reaches.
    struct Cells {
        int64_t firstRow = 0, endRow = 0, firstColumn = 0, endColumn = 0;
    };
    void sum(const Cells& cells);

    AnimeInfo& self_;
    int side_;
    std::vector<int> map_, sum_;
};

// Reader of a MetaBall declaration: name, wid, lft, top, mvx, mvy [, type [, value]].
std::optional<QString> readMetaBall(AnimeState& state, AnimeBlockInput& input, const QString& params);
