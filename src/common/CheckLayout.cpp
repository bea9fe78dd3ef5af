#include "CheckLayout.h"

#include "ShowCheck.h"

#include <algorithm>

CheckLayout layoutCheck(const QString& text, const QString& caption, int style, const QFontMetrics& plain,
                        const QFontMetrics& bold) {
    CheckLayout l;
    l.caption = caption;
    const qsizetype feed = text.indexOf(u'\n');
    l.mainLine = feed < 0 ? text : text.left(feed);
    l.bottomLine = feed < 0 ? QString() : text.mid(feed + 1);
    if (l.mainLine.endsWith(u'\r')) l.mainLine.chop(1);
    l.mainLeft = feed >= 0;
    const int kind = checkKind(style);
    l.question = kind != 0;
    l.noLabel = l.question ? QStringLiteral("いいえ") : QStringLiteral("確認");
    // Closing a question without a button must not read as "yes" (1), which kind 1 would.
    l.firstAnswer = kind == 1 ? 0 : kind;
    const int widest = std::max({plain.horizontalAdvance(l.caption), bold.horizontalAdvance(l.mainLine),
                                 plain.horizontalAdvance(l.bottomLine) + CheckLayout::kButtonPanelWidth});
    l.width = widest + CheckLayout::kExtraWidth;
    l.height = 2 * CheckLayout::kBorder + 2 * CheckLayout::kBandHeight + CheckLayout::kMiddleHeight;
    return l;
}

QRect placeCheck(int width, int height, const QRect& area, int position, int screenWidth) {
    width = std::max(1, std::min(width, screenWidth - 160));
    const int left = area.left() + (area.width() - width) / 2;
    int top = area.top() + (area.height() - height) / 2;
    if (position == 1)
        top = area.top() + 100;
    else if (position == 2)
        top = area.top() + area.height() - 80 - height;
    return QRect(left, top, width, height);
}
