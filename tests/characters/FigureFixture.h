// A game fixture with a picture to draw figures into: block lines are written in plain text
// ("MetaCube:..." becomes the kind's code) and a kind is drawn at a chosen screen place.
#pragma once

#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeRenderer.h"
#include "anime/AnimeView.h"

#include <QImage>

inline QString kindLine(int kind, const QString& params) { return kindCode(kind) + u':' + params; }

struct FigureFixture : GameFixture {
    QImage picture;
    uint32_t background = 0x000000;
    explicit FigureFixture(int width = 80, int height = 60) : picture(width, height, QImage::Format_RGB32) {
        state.bgColor = 0x102030;
        for (int n = 1; n <= 15; ++n) state.setPaletteColor(n, uint32_t(n) * 0x000011u);
        state.setPaletteColor(1, 0x0000FF); // red
        state.setPaletteColor(2, 0x00FF00); // green
    }
    // Clears the picture to `background` and draws character c by its kind at (sx, sy).
    void drawAt(AnimeInfo& c, int64_t sx, int64_t sy, const WindowRotation& rotation = {}) {
        picture.fill(rgbOfColor(background));
        AnimeCanvas canvas(picture, picture.height(), rotation);
        const AnimeKindDraw at{sx, sy, c.width, c.height, 1, state.bgColor, 1, 1, 1, 500};
        c.kind->draw(canvas, c, at);
    }
    uint32_t pixel(int x, int y) const { return colorOfRgb(picture.pixel(x, y)); }
    int count(uint32_t color) const {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) n += pixel(x, y) == color;
        return n;
    }
    AnimeInfo& last() { return *state.characters.back(); }
};
