#include "AnimeCanvas.h"

#include "AnimeMath.h"
#include "common/ProgramFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Point sizes beyond this draw nothing useful and only cost time.
constexpr int kMaxTextPoints = 2000;
// Texts that start this far off the picture cannot reach it.
constexpr int64_t kTextReach = int64_t(kMaxTextPoints) * 400;

} // namespace

AnimeCanvas::AnimeCanvas(QImage& picture, int64_t yBase, const WindowRotation& rotation)
    : picture_(picture), yBase_(yBase), rotation_(rotation) {
    if (!picture_.isNull() && picture_.format() != QImage::Format_RGB32)
        picture_ = picture_.convertToFormat(QImage::Format_RGB32);
    width_ = picture_.width();
    height_ = picture_.height();
    bits_ = picture_.isNull() ? nullptr : picture_.bits();
    stride_ = picture_.bytesPerLine();
    rotated_ = rotation.active();
    sinX_ = std::sin(rotation.angleX), cosX_ = std::cos(rotation.angleX);
    sinY_ = std::sin(rotation.angleY), cosY_ = std::cos(rotation.angleY);
    sinZ_ = std::sin(rotation.angleZ), cosZ_ = std::cos(rotation.angleZ);
}

void AnimeCanvas::fill(uint32_t color) {
    if (bits_) picture_.fill(rgbOfColor(color));
}

void AnimeCanvas::putDots(int64_t n, double* xs, double* ys, int64_t z, const uint32_t* colors) {
    if (!rotated_) {
        for (int64_t i = 0; i < n; ++i) setPixel(truncToInt64(xs[i]), truncToInt64(ys[i]), colors[i]);
        return;
    }
    // rotateWindowPoint's arithmetic, operation for operation, first for all dots (no branch, so
    // the compiler takes several at a time), then the truncations and stores in the dots' order.
    const double cx = rotation_.centreX, cy = rotation_.centreY, cz = rotation_.centreZ;
    const double yBase = double(yBase_);
    const double dz = double(z) - cz;
    const double zX = sinY_ * dz, zY = cosY_ * dz;
    for (int64_t i = 0; i < n; ++i) {
        const double dx = xs[i] - cx;
        const double dy = ys[i] + cy - yBase;
        const double x1 = cosZ_ * dx - sinZ_ * dy;
        const double y1 = sinZ_ * dx + cosZ_ * dy;
        const double z1 = zY - sinY_ * x1;
        xs[i] = zX + cosY_ * x1;
        ys[i] = cosX_ * y1 - sinX_ * z1;
    }
    // setPixel's clipping as data: a dot off the picture goes to `sink`.
    QRgb sink = 0;
    for (int64_t i = 0; i < n; ++i) {
        const int64_t x = satAdd(rotation_.centreX, truncToInt64(xs[i]));
        const int64_t y = satSub(satAdd(yBase_, truncToInt64(ys[i])), rotation_.centreY);
        const bool visible = (uint64_t(x) < uint64_t(width_)) & (uint64_t(y) < uint64_t(height_));
        QRgb* target = visible ? row(y) + x : &sink;
        *target = rgbOfColor(colors[i]);
    }
}

void AnimeCanvas::fillRect(int64_t x, int64_t y, int64_t width, int64_t height, uint32_t color) {
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(satAdd(x, width), width_);
    const int64_t bottom = std::min<int64_t>(satAdd(y, height), height_);
    if (!bits_ || left >= right) return;
    const QRgb rgb = rgbOfColor(color);
    for (int64_t r = top; r < bottom; ++r) std::fill(row(r) + left, row(r) + right, rgb);
}

namespace {

QFont canvasFont(int points) {
    QFont font;
    font.setFamilies(programFontFamilies(QStringLiteral("ＭＳ ゴシック")));
    font.setPointSize(std::clamp(points, 1, kMaxTextPoints));
    return font;
}

} // namespace

QSize AnimeCanvas::textSize(const QString& text, int points) const {
    const QFont font = canvasFont(points);
    const QFontMetrics metrics(font, &picture_);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void AnimeCanvas::drawText(int64_t x, int64_t y, const QString& text, int points, uint32_t color,
                           std::optional<uint32_t> background) {
    if (!bits_ || text.isEmpty() || x >= width_ || y >= height_ || x < -kTextReach || y < -kTextReach) return;
    const QFont font = canvasFont(points);
    QPainter painter(&picture_);
    painter.setFont(font);
    const QFontMetrics metrics(font, &picture_);
    const QRect box(int(x), int(y), metrics.horizontalAdvance(text), metrics.height());
    if (background) painter.fillRect(box, QColor::fromRgb(rgbOfColor(*background)));
    painter.setPen(QColor::fromRgb(rgbOfColor(color)));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}
