// The polygon solid: flat faces given corner by corner in the block, scaled and spun by the
// character's user values (x, y, z scale in percent, spin about x, y, z in degrees per drawn
// frame), turned by the character's own angles, sorted back to front and drawn as outlines or
// as filled faces. The face colour is the character's colour (attribute Color), the line colour
// its background colour (attribute bgColor).
#pragma once

#include "anime/AnimeKind.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class AnimeBlockInput;
class AnimeState;

class metaCubeInfo : public AnimeKind {
public:
    using Vertex = std::array<int64_t, 3>;
    // Indexes of the figure's values among the character's user values.
    enum Value { ScaleX, ScaleY, ScaleZ, SpinX, SpinY, SpinZ };
    static constexpr int kMinCorners = 3, kMaxCorners = 10, kMaxFaces = 1024;
    // Copies one declaration may make.
    static constexpr int kMaxCount = 1000;

    // The solid of character `self` with `corners` corners per face; `model` holds faces x
    // corners vertices, shared by the copies of one declaration (it never changes).
    metaCubeInfo(AnimeInfo& self, int corners, std::shared_ptr<const std::vector<Vertex>> model);

    int kindCode() const override;
    // Projects, sorts and draws the faces, then advances the spin. Cost: linear in the
    // vertices, the sort of the faces, and the drawn pixels.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    int cornersPerFace() const { return corners_; }
    int faceCount() const { return int(model_->size()) / corners_; }
    // The screen vertices of face f from the last drawing (x, y and depth z).
    const Vertex* screenFace(int f) const { return screen_.data() + size_t(f) * size_t(corners_); }
    // The faces in the order of the last drawing, further back first.
    const std::vector<int>& faceOrder() const { return order_; }
    // Spin angles about x, y and z in radians.
    const std::array<double, 3>& spin() const { return spin_; }

private:
    void project(const AnimeCanvas& canvas, const AnimeKindDraw& at);

    AnimeInfo& self_;
    int corners_;
    std::shared_ptr<const std::vector<Vertex>> model_;
    std::vector<Vertex> screen_;
    std::vector<int64_t> deepest_, meanZ_;
    std::vector<int> order_;
    std::array<double, 3> spin_{};
};

// Reader of a MetaCube declaration: name, cubelen, cubecnt, lft, top, mvx, mvy, color, lincol,
// xzoom, yzoom, zzoom [, count], then cubecnt x cubelen vertex lines "x, y, z".
std::optional<QString> readMetaCube(AnimeState& state, AnimeBlockInput& input, const QString& params);
