#include "KestoGeometry.h"

#include <Qt>

#include <algorithm>

namespace kesto {

CornerPlaces layoutCorners(QSize anime, int s) {
    const int W = anime.width(), H = anime.height();
    CornerPlaces p;
    p.run = QRect((W - s) / 2, (H - s) / 2, s, s);
    p.close = QRect(W - s, 0, s, s);
    p.goOut = QRect(W - s, H - s, s, s);
    p.renew = QRect(0, H - s, s, s);
    p.goHome = QRect(0, 0, s, s);
    p.free = QRect((W - s) / 2, 0, s, s);
    p.game = QRect((W - kGamePanelWidth) / 2, H - 6 - kGamePanelHeight, kGamePanelWidth, kGamePanelHeight);
    return p;
}

std::optional<ZoomedSize> applyZoom(QSize base, int baseFrameWidth, int zoomPercent) {
    if (zoomPercent < 10) return std::nullopt;
    if (base.width() < 1 || base.height() < 1) base = kCreationSize;
    // 64-bit products: a canvas of 32768 at 1000 % stays exact.
    const auto scale = [zoomPercent](int v) { return int(int64_t(v) * zoomPercent / 100); };
    return ZoomedSize{QSize(scale(base.width()), scale(base.height())), scale(baseFrameWidth)};
}

QPoint centreInGallery(QSize window, QSize area, bool docked, int topBarHeight) {
    const int W = window.width(), H = window.height();
    const int PW = area.width(), PH = area.height();
    const int left = (PW - W) / 2 + kLeftOffset;
    int top = (PH - H) / 2 - 12;
    if (docked) {
        top = std::max(top, 92);
        top = std::min(top, PH - H - 20);
    } else {
        top = std::max(top, topBarHeight + 3);
    }
    return {left, top};
}

int clearOfWorksPanel(int left, int windowWidth, int areaWidth, const QRect& worksPanel) {
    if (worksPanel.isEmpty()) return left;
    const int clear = worksPanel.x() + worksPanel.width() + 20;
    if (left >= clear) return left;
    return std::max(0, std::min(clear, areaWidth - windowWidth));
}

namespace {
int pictureGrowth(int zoomPercent) { return zoomPercent * 40 / 100; }
} // namespace

QRect fitPicture(QSize anime, int zoomPercent) {
    const int z = zoomPercent;
    const int overhang = z * 20 / 100;
    const int grow = pictureGrowth(z);
    return QRect(-overhang, -overhang, anime.width() + grow, anime.height() + grow);
}

QSize visiblePicture(QSize picture, int zoomPercent) {
    const int grow = pictureGrowth(zoomPercent);
    return QSize(std::max(picture.width() - grow, 0), std::max(picture.height() - grow, 0));
}

Hover hoverZone(QSize picture, QSize runPanel, QPoint mouse, bool smallInList, bool hasNeighbours) {
    const int W = picture.width(), H = picture.height();
    const int X = mouse.x(), Y = mouse.y();
    const int L = (W - runPanel.width()) / 2, T = (H - runPanel.height()) / 2;
    const int r = kHoverReach;
    if (L - r < X && X < L + r && T - r < Y && Y < T + r) return {HoverZone::Run, CornerPanel::Run, 50, false};
    if (X <= r && Y >= H - r) return {HoverZone::Edge, CornerPanel::Renew, 50, false};
    if (L - r < X && X < L + r && Y < r) return {HoverZone::Edge, CornerPanel::Free, 50, false};
    Hover hover;
    if (!hasNeighbours) return hover; // one display: no corner ever
    if (smallInList && X >= W - r && Y >= H - r) hover.zone = HoverZone::GoOut, hover.panel = CornerPanel::GoOut;
    else if (X >= W - r && Y < r) hover.zone = HoverZone::Close, hover.panel = CornerPanel::Close;
    else if (!smallInList && X < r && Y < r) hover.zone = HoverZone::GoHome, hover.panel = CornerPanel::GoHome;
    hover.highlight = smallInList;
    return hover;
}

QPoint fullSizePlace(QSize area, QSize window) {
    return {area.width() - window.width() - 50, area.height() - window.height() - 50};
}

QPoint gamePadPlace(const QRect& window, int areaWidth) {
    // Kept inside the area by the pad's own width (the "プレイ" panel's 56 would let the 128-pixel
    // pad hang over the area's right edge, cutting off its right column).
    const int left = std::min(window.x() + window.width() + 30, areaWidth - kGamePadSide - 30);
    return {left, window.y() + window.height() - kGamePadSide - 10};
}

PlatePlace titlePlatePlace(const QRect& window, int zoomPercent, bool smallInList, int characters, int characterWidth,
                           int buttonsWidth) {
    const int z = zoomPercent;
    PlatePlace p;
    p.above = smallInList;
    if (smallInList) {
        const int height = z * 30 / 100;
        p.rect = QRect(window.x() + 1, window.y() - height - 1, window.width() - 2, height);
        p.fontSize = z * 20 / 100;
        return p;
    }
    // The buttons at the plate's right end must not cover the title.
    const int width = std::min(characterWidth * std::max(characters, 0) + std::max(buttonsWidth, 0), window.width() - 4);
    const int height = z * 26 / 100;
    p.rect = QRect(window.x() + (window.width() - width) / 2, window.y() + window.height() + 1, width, height);
    p.fontSize = z * 11 / 100;
    return p;
}

QPoint musicPlayerPlace(const QRect& plate) { return {plate.x() + plate.width() + 8, plate.y()}; }

GameKey virtualKeyOfQtKey(int qtKey, bool keypad) {
    switch (qtKey) {
    case Qt::Key_Left: return GameKey::Left;
    case Qt::Key_Up: return GameKey::Up;
    case Qt::Key_Right: return GameKey::Right;
    case Qt::Key_Down: return GameKey::Down;
    case Qt::Key_Backspace: return GameKey::Undo;
    case Qt::Key_Plus: return keypad ? GameKey::NextStage : GameKey::MainPlus;
    case Qt::Key_Equal: return GameKey::MainPlus;
    case Qt::Key_Minus: return keypad ? GameKey::PreviousStage : GameKey::MainMinus;
    case Qt::Key_Tab: return GameKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return GameKey::Enter;
    case Qt::Key_Escape: return GameKey::Escape;
    case Qt::Key_Space: return GameKey::Space;
    default: break;
    }
    // Digits and letters are their own codes (Qt's letter keys are the upper-case ones); the
    // keypad's digits are the virtual keys from 96 up.
    constexpr int kKeypadDigitZero = 96;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return GameKey(keypad ? kKeypadDigitZero + (qtKey - Qt::Key_0) : qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return GameKey(qtKey);
    return GameKey::None;
}

GameKey gameKeyOfVirtualKey(GameKey virtualKey) {
    if (virtualKey == GameKey::MainPlus) return GameKey::NextStage;
    if (virtualKey == GameKey::MainMinus) return GameKey::PreviousStage;
    return virtualKey;
}

} // namespace kesto
