#include "AnimeCanvas.h"

#include "AnimeMath.h"

#include <cmath>

AnimeCanvas::AnimeCanvas(QImage& picture, int64_t yBase, const WindowRotation& rotation)
    : picture_(picture), yBase_(yBase), rotation_(rotation) {
    if (!picture_.isNull() && picture_.format() != QImage::Format_RGB32)
        picture_ = picture_.convertToFormat(QImage::Format_RGB32);
    width_ = picture_.width();
    height_ = picture_.height();
    bits_ = picture_.isNull() ? nullptr : picture_.bits();
    stride_ = picture_.bytesPerLine();
    sinX_ = std::sin(rotation.angleX), cosX_ = std::cos(rotation.angleX);
    sinY_ = std::sin(rotation.angleY), cosY_ = std::cos(rotation.angleY);
    sinZ_ = std::sin(rotation.angleZ), cosZ_ = std::cos(rotation.angleZ);
}

void AnimeCanvas::fill(uint32_t color) {
    if (bits_) picture_.fill(rgbOfColor(color));
}

void AnimeCanvas::putDot(int64_t x, int64_t y, int64_t z, uint32_t color) {
    if (rotation_.active()) rotateWindowPoint(x, y, z);
    setPixel(x, y, color);
}

void AnimeCanvas::rotateWindowPoint(int64_t& x, int64_t& y, int64_t& z) const {
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
