// Texts of the animation: Message characters drawn with the Japanese fonts through Qt.
#pragma once

#include <QString>
#include <cstdint>

class AnimeInfo;
struct FrameContext;

// Display width of a text: 2 for every character above code 127, 1 for the others.
int displayWidth(const QString& text);

// The text a Message shows in its field: quotes dropped, aligned and padded by its mode.
QString messageFieldText(const AnimeInfo& c);

// Draws a Message character's text at screen (x, y) (its top-left corner), with its axis shift
// orbit, perspective and the window rotation applied to that point, its colours and mode.
// Cost: one text layout.
void drawMessage(AnimeInfo& c, const FrameContext& frame, int64_t x, int64_t y);
