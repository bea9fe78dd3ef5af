// The one drawing surface of an animation frame: an RGB32 picture, the frame's y base and the
// window rotation that every dot goes through. Characters, messages and game kinds draw only
// through it, so a whole frame renders headless into a QImage.
#pragma once

#include "AnimeMath.h"
#include "DotRows.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

// A colour of the system (0x00BBGGRR, red in the low byte) as a QImage RGB32 pixel.
inline QRgb rgbOfColor(uint32_t color) {
    return 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
// The reverse conversion, for tests and for reading a picture back.
inline uint32_t colorOfRgb(QRgb rgb) {
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

struct WindowRotation {
    double angleX = 0, angleY = 0, angleZ = 0; // radians
    int centreX = 0, centreY = 0, centreZ = 0; // pixels
    bool active() const { return angleX != 0 || angleY != 0 || angleZ != 0; }
};

class AnimeCanvas {
public:
    // Draws into `picture` (converted to RGB32 when it is not), whose y base is `yBase`
    // (origin y + picture height). The picture must outlive the canvas.
    AnimeCanvas(QImage& picture, int64_t yBase, const WindowRotation& rotation);

    int width() const { return width_; }
    int height() const { return height_; }
    int64_t yBase() const { return yBase_; }
    const WindowRotation& rotation() const { return rotation_; }

    // Fills the whole picture with a colour (0x00BBGGRR). Cost: one pass over the picture.
    void fill(uint32_t color);
    // Sets one pixel after the window rotation; points outside the picture are dropped.
    // Cost: constant (a few sines when rotating).
    // Inline with rotateWindowPoint: the dot walk calls it for every dot.
    void putDot(int64_t x, int64_t y, int64_t z, uint32_t color) {
        if (rotated_) rotateWindowPoint(x, y, z);
        setPixel(x, y, color);
    }
    // Sets one pixel without rotation, clipped. Cost: constant.
    void setPixel(int64_t x, int64_t y, uint32_t color) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = rgbOfColor(color);
    }
    // Fills a rectangle without rotation, clipped to the picture. Cost: its pixels on the picture.
    void fillRect(int64_t x, int64_t y, int64_t width, int64_t height, uint32_t color);
    // Writes one line of text without rotation, its top-left corner at (x, y), in the program's
    // gothic type of `points` points (1 to 2000) and `color`, over a box of `background` as large
    // as the text when one is given. Game boards draw their glyphs and status lines through it.
    // Cost: one text layout.
    void drawText(int64_t x, int64_t y, const QString& text, int points, uint32_t color,
                  std::optional<uint32_t> background = std::nullopt);
    // The size of a line of text as drawText writes it. Cost: one text layout.
    QSize textSize(const QString& text, int points) const;
    // Pixels of row y (0 <= y < height()), for runs of stores that are already clipped.
    QRgb* row(int64_t y) { return reinterpret_cast<QRgb*>(bits_ + y * stride_); }
    // Rotates a point about the rotation centre (the window rotation formula). Cost: constant.
    void rotateWindowPoint(int64_t& x, int64_t& y, int64_t& z) const {
        const double dx = double(x) - rotation_.centreX;
        const double dy = double(y) + rotation_.centreY - double(yBase_);
        const double dz = double(z) - rotation_.centreZ;
        const double x1 = cosZ_ * dx - sinZ_ * dy;
        const double y1 = sinZ_ * dx + cosZ_ * dy;
        const double z1 = cosY_ * dz - sinY_ * x1;
        x = satAdd(rotation_.centreX, truncToInt64(sinY_ * dz + cosY_ * x1));
        y = satSub(satAdd(yBase_, truncToInt64(cosX_ * y1 - sinX_ * z1)), rotation_.centreY);
        z = satAdd(rotation_.centreZ, truncToInt64(sinX_ * y1 + cosX_ * z1));
    }
    // putDot for the n dots (xs[i], ys[i], z), in order; xs and ys hold whole numbers as doubles
    // (double(x) of the int64 coordinate) and are overwritten. Cost: linear, several dots at a time.
    void putDots(int64_t n, double* xs, double* ys, int64_t z, const uint32_t* colors);
    // The window rotation for the vector rows (meaningful while rotation().active()). Cost: constant.
    DotRows::Window rowWindow() const {
        return {sinX_, cosX_, sinY_, cosY_, sinZ_, cosZ_, rotation_.centreX, rotation_.centreY, rotation_.centreZ, yBase_};
    }
    // Pixels from one row to the next. Cost: constant.
    int64_t strideWords() const { return stride_ / int64_t(sizeof(QRgb)); }
    // The picture, for text drawing through QPainter.
    QImage& picture() { return picture_; }

private:
    QImage& picture_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    int64_t yBase_ = 0;
    WindowRotation rotation_;
    bool rotated_ = false;
    double sinX_ = 0, cosX_ = 1, sinY_ = 0, cosY_ = 1, sinZ_ = 0, cosZ_ = 1;
};
