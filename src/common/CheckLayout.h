// The geometry and texts of the message window, worked out without any window so that the
// window itself stays a thin shell over it.
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QString>

struct CheckLayout {
    static constexpr int kBorder = 7;
    static constexpr int kBandHeight = 28;   // top (caption) and bottom bands
    static constexpr int kMiddleHeight = 48; // the message band
    static constexpr int kButtonPanelWidth = 112;
    static constexpr int kExtraWidth = 40;

    QString caption;
    QString mainLine;      // the text before the line feed, in the middle band
    QString bottomLine;    // the text after it, left in the bottom band
    bool mainLeft = false; // the middle band is left-aligned when the text has a second line
    bool question = false; // "はい" shown; otherwise a notice with only "確認"
    QString noLabel;       // "いいえ", or "確認" for a notice
    int firstAnswer = 0;   // the answer when closed without a button: the kind digit, but 0 for kind 1
    int width = 0;         // before the screen cut of placeCheck
    int height = 0;
};

// Splits the text at its first line feed and sizes the window: the largest of the caption's
// width, the first line's (bold) width and the second line's width plus the button panel, plus
// 40 pixels. Cost: linear in the texts.
CheckLayout layoutCheck(const QString& text, const QString& caption, int style, const QFontMetrics& plain,
                        const QFontMetrics& bold);

// The window's rectangle within `area` (the parent window's frame, else the screen): a width
// above screenWidth - 160 is cut to it; centred horizontally; vertically centred (position 0),
// top at area top + 100 (1) or bottom 80 pixels above the area's bottom (2).
QRect placeCheck(int width, int height, const QRect& area, int position, int screenWidth);
