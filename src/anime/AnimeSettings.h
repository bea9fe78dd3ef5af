// The settings of an animation block that change the animation or its window: background
// colour, palette entries, canvas placement, frame, frame pattern and wall colour. Each takes
// the parameter text after its keyword.
#pragma once

#include <QString>
#include <optional>

class AnimeBlockInput;
class AnimeState;

// BgColor r, g, b (each 0..255). False when a parameter is missing or out of range.
bool setBgColor(AnimeState& state, AnimeBlockInput& input, const QString& params);
// Color n (0..65535), r, g, b. False when a parameter is missing or out of range.
bool setPaletteColor(AnimeState& state, AnimeBlockInput& input, const QString& params);
// Canvas / Window: max, or left, top [, width [, height]], or Center [, width [, height]].
// Places the window through the host; returns the text after the last parameter read, or
// nothing when there was no width (or it was not placed).
std::optional<QString> setCanvas(AnimeState& state, AnimeBlockInput& input, const QString& params);
// Frame width [, r, g, b]. Returns the rest of the text.
QString setFrame(AnimeState& state, AnimeBlockInput& input, const QString& params);
// FramePtn width, height, then that many rows from the following lines. Nothing on success,
// else "wid" or "hei".
std::optional<QString> setFramePattern(AnimeState& state, AnimeBlockInput& input, const QString& params);
// WallColor r, g, b. Returns the rest of the text.
QString setWallColor(AnimeState& state, AnimeBlockInput& input, const QString& params);
