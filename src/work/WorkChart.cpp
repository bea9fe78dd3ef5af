#include "WorkChart.h"

#include <algorithm>

namespace {
int scaled(int size, int zoomPercent) { return int(int64_t(size) * zoomPercent / 100); }
} // namespace

void WorkChart::toggle(int mode, int pictureWidth, int pictureHeight, int zoomPercent) {
    const bool close = mode == 0 || mode < -1 || (mode == -1 && formVisible);
    if (close) {
        if (hasForm) {
            showState = kCloseRequested;
            countdown = kCloseMilliseconds;
        } else {
            showState = kHidden;
        }
        return;
    }
    hasForm = true;
    width = scaled(definition.width, zoomPercent);
    height = scaled(definition.height, zoomPercent);
    formVisible = true;
    showState = kShowing;
    targetWidth = width;
    targetHeight = height;
    stepX = width / 500 + 1;
    stepY = height / 500 + 1;
    if (onPicture) {
        left = std::max(0, pictureWidth - width + 140 * stepX);
        top = std::max(0, pictureHeight - height + 140 * stepY);
    }
    countdown = seconds * 1000;
}

void WorkChart::advance(int pictureWidth, int pictureHeight, int zoomPercent) {
    if (showState == kHidden) {
        formVisible = false;
        return;
    }
    width = scaled(definition.width, zoomPercent);
    height = scaled(definition.height, zoomPercent);
    if (onPicture) {
        if (left < std::max(0, pictureWidth - width - zoomPercent * 3 / 10)) left = pictureWidth - width;
        if (top < std::max(0, pictureHeight - height - zoomPercent * 2 / 10)) top = pictureHeight - height;
    }
    bool arrived = false;
    if (showState == kShowing) {
        bool moved = false;
        if (!onPicture) {
            // A free form grows toward its target size.
            if (width < targetWidth) width = std::min(width + stepX, targetWidth), moved = true;
            if (height < targetHeight) height = std::min(height + stepY, targetHeight), moved = true;
        } else {
            if (left > std::max(0, pictureWidth - width - zoomPercent / 20)) left -= stepX, moved = true;
            if (top > std::max(0, pictureHeight - height - zoomPercent / 20)) top -= stepY, moved = true;
        }
        arrived = !moved;
    } else if (!onPicture) {
        if (showState == kCloseRequested || countdown <= 0) formVisible = false, showState = kHidden;
    } else {
        bool moved = false;
        if (left < pictureWidth) left += stepX, moved = true;
        if (top < pictureHeight) top += stepY, moved = true;
        if (!moved) formVisible = false, showState = kHidden;
    }
    if (arrived) {
        if (countdown < 0) {
            showState = kHidden;
        } else if (countdown == 0) {
            showState = kClosing;
            countdown = kCloseMilliseconds;
        }
    }
    countdown -= kTickMilliseconds;
}
