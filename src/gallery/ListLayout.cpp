#include "ListLayout.h"

#include "work/KestoGeometry.h"

#include <algorithm>

namespace ListLayout {

int availableWidth(int areaWidth) { return areaWidth <= 1800 ? areaWidth * 3 / 4 : areaWidth * 2 / 3; }

int startZoomWidth(int available) { return (available - 120) / 4; }

int firstRowTop(bool paletteVisible, bool cameraPanel) { return !paletteVisible ? 28 : cameraPanel ? 120 : 100; }

int narrowed(int zoomWidth) { return zoomWidth > 9 ? zoomWidth - kZoomWidthStep : zoomWidth; }

int widened(int zoomWidth) { return zoomWidth < 1000 ? zoomWidth + kZoomWidthStep : zoomWidth; }

QSize scaledSize(QSize fullSize, int zoom) {
    const std::optional<kesto::ZoomedSize> zoomed = kesto::applyZoom(fullSize, 0, zoom);
    return zoomed ? zoomed->window : fullSize;
}

std::vector<Cell> layout(const std::vector<Item>& items, int available, int minZoom, int zoomWidth, int top,
                         const SizeAt& sizeAt) {
    std::vector<Cell> cells(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].shown) continue;
        const int full = std::max(items[i].fullSize.width(), 1);
        cells[i].shown = true;
        // 64 bits: a zoom width from many "≫" over a narrow canvas.
        cells[i].zoom = int(std::clamp<int64_t>(int64_t(zoomWidth) * 100 / full, minZoom, 100));
        cells[i].rect.setSize(sizeAt(items[i].fullSize, cells[i].zoom));
    }
    int x = kLeft, y = top, rowHeight = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!cells[i].shown) continue;
        Cell& cell = cells[i];
        cell.rect.moveTo(x, y);
        rowHeight = std::max(rowHeight, cell.rect.height() + kRowExtra);
        size_t next = i + 1;
        while (next < cells.size() && !cells[next].shown) ++next;
        const int nextWidth = next < cells.size() ? cells[next].rect.width() : 0;
        if (available < cell.rect.width() + x + nextWidth + kRightReserve) {
            x = kLeft;
            y += rowHeight + kRowGap;
            rowHeight = 0;
        } else {
            x += cell.rect.width() + kColumnGap;
        }
    }
    return cells;
}

QPoint growPlace(QSize area, QSize window, int offset, int plateHeight) {
    const int left = (area.width() - window.width()) / 2 + offset;
    int top = area.height() * 2 / 3 - window.height() / 2;
    top = std::max(0, std::min(top, area.height() - window.height() - plateHeight - kBottomGap));
    return {left, top};
}

int grownZoom(int zoom) { return zoom < 99 ? zoom + 2 : 100; }

int shrunkZoom(int zoom) { return zoom - 4; }

int tourGrownZoom(int zoom) { return zoom >= 81 ? 100 : zoom + 20; }

int tourShrunkZoom(int zoom) { return zoom - 10; }

} // namespace ListLayout
