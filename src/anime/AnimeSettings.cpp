#include "AnimeSettings.h"

#include "AnimeBlockInput.h"
#include "AnimeHost.h"
#include "AnimeReaders.h"
#include "AnimeState.h"
#include "common/Numbers.h"
#include "common/Settings.h"
#include "script/KestoCodes.h"

#include <algorithm>

namespace {

// Headless stand-in when the animation has no window.
AnimeHost& hostOf(AnimeState& state) {
    struct NoWindow : AnimeHost {
        void logMessage(const QString&) override {}
    };
    static NoWindow none;
    return state.host ? *state.host : none;
}

std::optional<uint32_t> readRgb(ParamFields& fields, AnimeBlockInput& input) {
    const auto r = readIntParam(fields, input, 0, 255);
    if (!r) return std::nullopt;
    const auto g = readIntParam(fields, input, 0, 255);
    if (!g) return std::nullopt;
    const auto b = readIntParam(fields, input, 0, 255);
    if (!b) return std::nullopt;
    return uint32_t(*r + *g * 256 + *b * 65536);
}

// A keyword parameter: its attribute code, or the word written out in either form.
bool isKeywordParam(const std::optional<QString>& field, int attribute, const char16_t* standard,
                    const char16_t* japanese) {
    if (!field) return false;
    const QString f = field->trimmed();
    return (f.size() == 1 && attributeOfCode(f[0]) == attribute) || equalsCaseless(f, QStringView(standard)) ||
           f == QStringView(japanese);
}

// The frame strips take the frame width when it fits the window.
void applyFrameWidth(AnimeState& state, int width) {
    AnimeHost& host = hostOf(state);
    const AnimeWindowGeometry g = host.geometry();
    const int topBottom = (width > 0 && width < g.width / 2 - 1) ? width : -1;
    const int leftRight = (width > 0 && width < g.height / 2 - 1) ? width : -1;
    host.setFrameStrips(topBottom, leftRight);
}

} // namespace

bool setBgColor(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const auto color = readRgb(fields, input);
    if (!color) return false;
    state.bgColor = *color;
    return true;
}

bool setPaletteColor(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const auto n = readIntParam(fields, input, 0, 65535);
    if (!n) return false;
    const auto color = readRgb(fields, input);
    if (!color) return false;
    return state.setPaletteColor(int(*n), *color);
}

std::optional<QString> setCanvas(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    AnimeHost& host = hostOf(state);
    if (host.atelierOpen()) return params;
    ParamFields fields(params);
    if (isKeywordParam(fields.peek(), Attr::max, u"max", u"最大")) {
        fields.next();
        host.maximise();
        host.resetView();
        return fields.rest();
    }
    AnimeWindowGeometry g = host.geometry();
    if (g.maximised) {
        host.restoreNormal();
        g = host.geometry();
    }
    int left = g.left, top = g.top;
    bool centre = false;
    if (isKeywordParam(fields.peek(), Attr::Center, u"Center", u"中央")) {
        fields.next();
        centre = state.canvasWidth < 1;
    } else {
        const auto l = readIntParam(fields, input, -32768, 32767);
        if (!l) return std::nullopt;
        const auto t = readIntParam(fields, input, -32768, 32767);
        if (!t) return std::nullopt;
        left = int(*l), top = int(*t);
    }
    int width = state.canvasWidth >= 1 ? state.canvasWidth : g.width;
    int height = state.canvasWidth >= 1 ? state.canvasHeight : g.height;
    std::optional<QString> rest;
    const QString beforeWidth = fields.rest();
    if (const auto wField = fields.next(); !isEmptyParam(wField)) {
        if (const auto w = input.evaluate(*wField)) {
            const int64_t n = truncToInt64(*w);
            if (n > -g.screenWidth && n <= 32768) width = int(n);
        }
        if (width > g.screenWidth) {
            width = g.screenWidth;
        } else if (width < 1) {
            if (g.docked) {
                width += g.areaWidth;
            } else {
                width = g.screenWidth;
                left = 0;
            }
        }
        rest = beforeWidth;
        if (const auto hField = fields.next(); !isEmptyParam(hField)) {
            if (const auto h = input.evaluate(*hField)) {
                const int64_t n = truncToInt64(*h);
                if (n >= -g.screenHeight && n <= 32768) height = int(n);
            }
            if (height > g.screenHeight) {
                height = g.screenHeight;
            } else if (height < 1) {
                if (g.docked) {
                    height += g.areaHeight;
                } else {
                    height = g.screenHeight;
                    top = 0;
                }
            }
            rest = fields.rest();
        }
    }
    // Widths and heights stay at least one pixel whatever the area sizes were.
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (centre) {
        top = std::max((g.areaHeight - height - 20) / 2, g.topPanelHeight + 3);
        left = (g.areaWidth - width) / 2 + state.leftOffset;
        if (g.docked && g.areaHeight < height + top + 12) top = std::max(0, g.areaHeight - height - 12);
    }
    if (g.worksListVisible && left < g.worksListRight + 20) {
        left = std::max(0, std::min(g.worksListRight + 20, g.baseWidth - g.width));
    }
    host.moveWindow(left, top);
    state.canvasWidth = width;
    state.canvasHeight = height;
    applyFrameWidth(state, state.frameWidth * state.zoomPercent / 100);
    host.resizeWindow(int(int64_t(width) * state.zoomPercent / 100), int(int64_t(height) * state.zoomPercent / 100));
    host.resetView();
    return rest;
}

QString setFrame(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    AnimeHost& host = hostOf(state);
    if (host.atelierOpen()) return params;
    ParamFields fields(params);
    const auto width = readIntParam(fields, input, 0, 255);
    if (!width) return fields.rest();
    applyFrameWidth(state, int(*width));
    state.frameWidth = int(*width);
    if (fields.atEnd()) return fields.rest();
    const auto r = readIntParam(fields, input, 0, 255);
    if (!r) return fields.rest();
    const auto g = readIntParam(fields, input, 0, 255);
    if (!g) return fields.rest();
    if (isEmptyParam(fields.peek())) {
        input.setStatus(RunStatus::NoValue); // the next parameter read after this one fails
        return fields.rest();
    }
    const auto b = readIntParam(fields, input, 0, 255);
    if (!b) return fields.rest();
    state.frameColor = uint32_t(*r + *g * 256 + *b * 65536);
    host.paintFrame(state.frameColor, true);
    host.setWindowColor(state.frameColor);
    applyFrameWidth(state, state.frameWidth);
    return fields.rest();
}

std::optional<QString> setFramePattern(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const auto w = readIntParam(fields, input, 1, 256);
    if (!w) return QStringLiteral("wid");
    const auto h = readIntParam(fields, input, 1, 256);
    if (!h) return QStringLiteral("hei");
    FramePattern pattern;
    pattern.width = int(*w);
    pattern.height = int(*h);
    pattern.cells.assign(size_t(*w * *h), -1);
    for (int i = 0; i < pattern.height; ++i) {
        const auto row = input.nextDataLine();
        if (!row) break;
        for (int j = 0; j < pattern.width && j < row->size(); ++j) {
            char16_t c = row->at(j).unicode();
            if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
            int cell = -1;
            if (c >= u'1' && c <= u'9') cell = c - u'0';
            else if (c >= u'A' && c <= u'F') cell = c - u'A' + 10;
            pattern.cells[size_t(i * pattern.width + j)] = cell;
        }
    }
    state.framePattern = std::move(pattern);
    hostOf(state).paintFramePattern();
    return std::nullopt;
}

QString setWallColor(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    if (const auto color = readRgb(fields, input)) hostOf(state).setWallColor(*color);
    return fields.rest();
}
