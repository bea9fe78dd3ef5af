#include "AnimeView.h"

#include "common/Numbers.h"
#include "script/KestoCodes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegree = 0.017453292519943295;

// One "keyword=value" item of a pair list: the keyword's attribute number (or -1 for a name
// code), the value text and the rest after the item's ','.
struct PairItem {
    int attribute = -1;
    bool isPair = false; // a keyword or name code followed by '='
    QString value;
    QString rest;
    bool last = false;
};

PairItem cutPair(const QString& text) {
    PairItem item;
    const qsizetype comma = text.indexOf(u',');
    const QString head = comma < 0 ? text : text.left(comma);
    item.rest = comma < 0 ? QString() : text.mid(comma + 1);
    item.last = comma < 0;
    if (head.isEmpty()) return item;
    const QChar code = head[0];
    const bool keyword = attributeOfCode(code) >= 0 || code.unicode() >= code::NameFirst;
    qsizetype eq = 1;
    while (eq < head.size() && head[eq] == u' ') ++eq;
    item.isPair = keyword && eq < head.size() && head[eq] == u'=';
    item.attribute = attributeOfCode(code);
    if (item.isPair) item.value = head.mid(eq + 1);
    return item;
}

} // namespace

AnimeView::AnimeView(int width, int height)
    : picture(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32),
      displayWidth(std::max(width, 1)), displayHeight(std::max(height, 1)) {
    picture.fill(rgbOfColor(0));
}

QString AnimeView::cameraStatusText() const {
    return QString::asprintf("カメラ P(%4d,%4d,%4d) ｖ(%3d,%3d,%3d)", -truncToInt(cameraX - referenceX),
                             truncToInt(cameraY - referenceY), truncToInt(cameraZ), -truncToInt(driftX),
                             truncToInt(driftY), truncToInt(driftZ));
}

void AnimeView::resetView(uint32_t background) {
    rotation = WindowRotation();
    rotaX = rotaY = rotaZ = 0;
    referenceX = referenceY = 0;
    cameraX = savedCamera[0], cameraY = savedCamera[1], cameraZ = savedCamera[2];
    driftX = savedCamera[3], driftY = savedCamera[4], driftZ = savedCamera[5];
    refitPicture();
    // A reset is no camera zoom: a shift kept from the size change would start the work displaced.
    shiftX = shiftY = 0;
    picture.fill(rgbOfColor(background));
}

void AnimeView::refitPicture() {
    const int percent = std::max(zoomPercent, 1);
    const double depth = (kCameraDepth - cameraZ) / kCameraDepth;
    auto side = [&](int display) {
        const int64_t v = truncToInt64(double(int64_t(display) * 100 / percent) * depth);
        return int(std::clamp<int64_t>(v, 1, kMaxPictureSide));
    };
    refittedZ = cameraZ;
    const int w = side(displayWidth), h = side(displayHeight);
    const int oldW = picture.width(), oldH = picture.height();
    if (std::abs(w - oldW) < 2 && std::abs(h - oldH) < 2) return;
    picture = QImage(w, h, QImage::Format_RGB32);
    picture.fill(rgbOfColor(0));
    shiftX += double(oldW - w) * 100 / 2;
    shiftY += double(oldH - h) * 100 / 2;
}

void AnimeView::cameraDepthStep() {
    if (!stretched || (driftZ == 0 && cameraZ == refittedZ)) return;
    cameraZ += driftZ;
    if (!(kCameraDepth - cameraZ >= 100)) {
        driftZ = 0;
        return;
    }
    refitPicture();
    // A receding camera stops where the picture reaches its size cap.
    const int64_t limit = int64_t(kMaxPictureSide);
    const double depth = (kCameraDepth - cameraZ) / kCameraDepth;
    if (driftZ < 0 && (double(displayWidth) * 100 / std::max(zoomPercent, 1) * depth >= limit ||
                       double(displayHeight) * 100 / std::max(zoomPercent, 1) * depth >= limit))
        driftZ = 0;
}

QString AnimeView::setWinRotation(const QString& params, const AnimeEvaluate& evaluate) {
    QString text = params;
    while (!text.isEmpty()) {
        const PairItem item = cutPair(text);
        if (!item.isPair) break;
        const std::optional<double> v = evaluate(item.value);
        if (v) {
            switch (item.attribute) {
            case Attr::angleX: rotation.angleX = *v * kDegree; break;
            case Attr::angleY: rotation.angleY = *v * kDegree; break;
            case Attr::angleZ: rotation.angleZ = *v * kDegree; break;
            case Attr::rotaX: rotaX = *v * kDegree; break;
            case Attr::rotaY: rotaY = *v * kDegree; break;
            case Attr::rotaZ: rotaZ = *v * kDegree; break;
            case Attr::rsftX: rotation.centreX = truncToInt(*v); break;
            case Attr::rsftY: rotation.centreY = truncToInt(*v); break;
            case Attr::rsftZ: rotation.centreZ = truncToInt(*v); break;
            default: break;
            }
        }
        text = item.rest;
        if (item.last) break;
    }
    return text;
}

QString AnimeView::setCamera(const QString& params, const AnimeEvaluate& evaluate) {
    QString text = params;
    bool refit = false;
    while (!text.isEmpty()) {
        const PairItem item = cutPair(text);
        const int a = item.attribute;
        const bool cameraKey = a == Attr::X || a == Attr::Y || a == Attr::Z || a == Attr::vX ||
                               a == Attr::vY || a == Attr::vZ;
        if (cameraKey && !item.isPair) break;
        if (cameraKey) {
            const std::optional<double> v = evaluate(item.value);
            if (v && *v > -9999 && *v < 9999) {
                switch (a) {
                case Attr::X: savedCamera[0] = cameraX = -*v, referenceX = 0, refit = true; break;
                case Attr::Y: savedCamera[1] = cameraY = *v, referenceY = 0, refit = true; break;
                case Attr::Z: savedCamera[2] = cameraZ = -*v, refit = true; break;
                case Attr::vX: savedCamera[3] = driftX = -*v; break;
                case Attr::vY: savedCamera[4] = driftY = *v; break;
                default: savedCamera[5] = driftZ = *v; break;
                }
            }
        }
        text = item.rest;
        if (item.last) break;
    }
    if (refit) refitPicture();
    return text;
}

QString AnimeView::setWzoom(const QString& params, const AnimeEvaluate& evaluate) {
    const qsizetype comma = params.indexOf(u',');
    const std::optional<double> v = evaluate(comma < 0 ? params : params.left(comma));
    const int64_t n = v ? truncToInt64(*v) : 0;
    if (n >= 1 && n <= 255) dotZoomX = dotZoomY = int(n);
    return comma < 0 ? QString() : params.mid(comma + 1);
}

QString AnimeView::setViewPoint(const QString& params, const AnimeEvaluate& evaluate) {
    const qsizetype comma = params.indexOf(u',');
    const std::optional<double> v = evaluate(comma < 0 ? params : params.left(comma));
    const int64_t n = v ? truncToInt64(*v) : 0;
    if (n >= 1 && n <= 30000) viewDistance = int(n);
    return comma < 0 ? QString() : params.mid(comma + 1);
}
