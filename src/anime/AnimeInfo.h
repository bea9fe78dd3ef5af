// One character of an animation: position and motion in tenths of a pixel, angles, the 71
// attributes, its pixel frames or text, and at most one kind object. A plain record owned by
// the animation's character list (AnimeState); links to other characters are non-owning.
#pragma once

#include "AnimeKind.h"
#include "script/KestoCodes.h"

#include <QString>
#include <array>
#include <span>
#include <cstdint>
#include <memory>
#include <vector>

class AnimeState;

// Whole-pixel extent of a character, kept by moveBy and recomputed when it is drawn.
struct AnimeBox {
    int64_t left = 0, right = 0, low = 0, high = 0, nearZ = 0, farZ = 0;
};

// Game kinds a character can play, in the order the motion step asks them.
enum class GameLink { Maze, Sudoku, Nikaku, Soukoban, NumLink, Pitman, Count };

inline constexpr double kNoTarget = -9999;

// What a program may give a character; a value beyond a limit is refused, which keeps the pixel
// arithmetic of motion and drawing far from overflow.
inline constexpr int kPlaceLimit = 16384;   // pixels either way: places, goals, axis shifts
inline constexpr int kRateLimit = 1000;     // per frame: velocity and acceleration; also restitution and resistance
inline constexpr int kSpacingLimit = 10000; // percent: ghost and balloon spacing
inline constexpr int kDepthBound = 10000;   // the z bounds of a character that sets none

class AnimeInfo {
public:
    AnimeInfo() = default;
    ~AnimeInfo();
    AnimeInfo(const AnimeInfo&) = delete;
    AnimeInfo& operator=(const AnimeInfo&) = delete;

    // Sets attribute `index` (0..70) from the script value v with that attribute's range rule;
    // values outside the range are ignored. `text`, `Chaser` (non-zero) and `dim` need more than
    // a value and are set through setText, setChased and setUserValue. Cost: constant, except
    // dir/reverse (a pass over the pixels) and the game links (a pass over the characters).
    void setAttribute(int index, double v);
    // The value a program reads back for attribute `index`, in the attribute's own units
    // (pixels, degrees, factors). 0 for attributes without a value. Cost: constant.
    double attribute(int index) const;

    // Velocity change: the speed is recomputed and every goto target cleared.
    void setVelocity(double x, double y, double z);
    void recomputeSpeed();
    bool hasTarget() const { return gotoX != kNoTarget || gotoY != kNoTarget || gotoZ != kNoTarget; }
    // Moves by tenths of a pixel and keeps the screen box; with setVelocity the velocity becomes
    // the step. Cost: constant.
    void moveBy(double dx, double dy, double dz, bool setsVelocity);
    // Mirrors (bit 1) and/or flips (bit 2) every frame of the pixels and toggles the dir bits.
    // Nothing happens without pixel data. Cost: one pass over the pixels.
    void flipPixels(int bits);
    // The message text (quotes as given); the old text is dropped.
    void setText(const QString& newText) { text = newText; hasText = true; }
    // Starts chasing `target` (nullptr stops the chase).
    void setChased(AnimeInfo* target);
    // Writes user value `index` (0..31); other indexes are ignored. Returns whether it was written.
    bool setUserValue(int index, double v);
    // Fills the value slots read by getval. Cost: constant.
    void copyToValueSlots(std::span<double, kValueSlots> values) const;

    // Colour of pixel (frame, row, column), or -1 for transparent and for any position outside
    // the pixel data (a height raised by Font reads as transparent). Cost: constant.
    int32_t pixelAt(int frame, int row, int column) const {
        if (frame < 0 || row < 0 || column < 0 || frame >= pixelFrames || row >= pixelHeight || column >= pixelWidth)
            return -1;
        return pixels[(size_t(frame) * size_t(pixelHeight) + size_t(row)) * size_t(pixelWidth) + size_t(column)];
    }
    // Gives the character pixel data of the given size, all transparent. Cost: linear in the size.
    void allocatePixels(int frames, int heightDots, int widthDots);
    bool hasPixels() const { return !pixels.empty(); }

    // Links.
    AnimeState* state = nullptr; // the owning animation

    int serial = 0;
    // Place among the characters of its name, which lookups by name and index use; set through
    // AnimeState::setSameNameIndex, so that cached lookups learn of the change.
    int sameNameIndex() const { return sameNameIndex_; }
    QString name; // set when the character is made, never changed: lookups cache by it
    char16_t kindKeyword = 0; // code of the kind keyword that declared it; 0 when made otherwise

    int lastPixelX = 0, lastPixelY = 0, lastPixelZ = 0;
    double vX = 0, vY = 0, vZ = 0;
    double speed = 0;
    double X = 0, Y = 0, Z = 0;
    double depthKey = 0;
    double gotoX = kNoTarget, gotoY = kNoTarget, gotoZ = kNoTarget;
    double aX = 0, aY = 0, aZ = 0;
    double angleX = 0, angleY = 0, angleZ = 0;
    double rotaX = 0, rotaY = 0, rotaZ = 0;
    double rsftX = 0, rsftY = 0, rsftZ = 0;
    std::array<double, kUserValues> userValues{};
    int frameCount = 0;
    int disp = 0;
    int declaredMvx = 0, declaredMvy = 0;
    int width = 1, height = 1, depth = 1;
    int currentFrame = 0, lastFrame = -1;
    int zoomX = 1, zoomY = 1, zoomZ = 1;
    int multX = 1, multY = 1, multZ = 1;
    AnimeBox box;
    int minX = 0, minY = 0, minZ = 0, maxX = 0, maxY = 0, maxZ = 0;
    int dirState = 0;
    int mode = 0;
    int chaseMode = 0;
    int lifeTime = 0;
    double eX = 1, eY = 1, eZ = 1;
    double rX = 0, rY = 0, rZ = 0;
    int ghostX = 100, ghostY = 100, ghostZ = 100;
    int balloonX = 1, balloonY = 1, balloonZ = 1;

    // Pixel data: frames x height x width colours, -1 transparent.
    std::vector<int32_t> pixels;
    int pixelFrames = 0, pixelHeight = 0, pixelWidth = 0;

    QString text;
    bool hasText = false; // a Message character

    std::unique_ptr<AnimeKind> kind; // at most one kind object
    std::array<AnimeInfo*, size_t(GameLink::Count)> games{};
    AnimeInfo* chased = nullptr;
    int gameStep = -1;

    bool chargesWhenSet = false; // the charge list held a charge when Charge was last set
    double charge = 0;

    uint32_t textColor = 0;
    int64_t backColor = 0; // -2 transparent
    int colorNumber = 0, backColorNumber = 0;
    double colorSft = 0, colorAccumulator = 0;

private:
    friend class AnimeState;
    void linkGame(GameLink link, int kindCode, int n);

    int sameNameIndex_ = 0;
};
