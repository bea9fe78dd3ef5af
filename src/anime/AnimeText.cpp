#include "AnimeText.h"

#include "AnimeCanvas.h"
#include "AnimeInfo.h"
#include "AnimeMath.h"
#include "AnimeRenderer.h"
#include "AnimeState.h"
#include "common/ProgramFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace {

// Point sizes beyond this draw nothing useful and only cost time.
constexpr int64_t kMaxFontPoints = 2000;

} // namespace

int displayWidth(const QString& text) {
    int b = 0;
    for (const QChar ch : text) b += ch.unicode() > 127 ? 2 : 1;
    return b;
}

QString messageFieldText(const AnimeInfo& c) {
    QString text = c.text;
    if (text.startsWith(u'"')) text.remove(0, 1);
    if (text.endsWith(u'"')) text.chop(1);
    const int b = displayWidth(text);
    if (c.mode & 1) {
        if (b < c.width) text.prepend(QString(c.width - b, u' '));
    } else if (text.size() < c.width && b < c.width) {
        text.append(QString(c.width - b, u' '));
    }
    if (c.mode & 4) text.append(u' ');
    return text;
}

void drawMessage(AnimeInfo& c, const FrameContext& frame, int64_t x, int64_t y) {
    AnimeCanvas& canvas = frame.canvas;
    const AnimeState& state = frame.state;
    int64_t z = pixelDiv10(c.Z);
    if (c.rsftX != 0 || c.rsftY != 0 || c.rsftZ != 0) {
        int64_t ox = 0, oy = 0, oz = 0;
        DotRotation(c, frame.viewDistance, 0, 0, 0, z).apply(ox, oy, oz);
        x = satAdd(x, ox), y = satAdd(y, oy), z = satAdd(z, oz);
    }
    if (c.disp & 16) perspective(frame.viewDistance, x, y, z);
    if (canvas.rotation().active()) canvas.rotateWindowPoint(x, y, z);
    const int64_t points = satMul(c.height, frame.zoomX);
    if (points < 1 || x >= canvas.width() || y >= canvas.height()) return;

    int64_t textColor = c.textColor, fillColor = c.backColor;
    if (c.mode & 8) {
        if (c.colorNumber >= -1) textColor = c.colorNumber == -1 ? state.bgColor : state.paletteColor(c.colorNumber);
        if (c.backColorNumber >= -2)
            fillColor = c.backColorNumber >= 0 ? int64_t(state.paletteColor(c.backColorNumber))
                                               : (c.backColorNumber == -1 ? int64_t(state.bgColor) : -2);
    }
    const bool transparent = (c.mode & 8) || fillColor == -2;
    if (c.mode & 2) std::swap(textColor, fillColor);
    const QString text = messageFieldText(c);

    QFont font;
    font.setFamilies(programFontFamilies((c.mode & 16) ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("ＭＳ ゴシック")));
    const QImage& picture = canvas.picture();
    if (c.mode & (32 | 64)) {
        font.setFamilies(programFontFamilies(QStringLiteral("Times New Roman")));
        font.setPixelSize(int(std::min(points, kMaxFontPoints) * picture.logicalDpiY() / 72));
        font.setWeight((c.mode & 32) ? QFont::Bold : QFont::Normal);
        font.setItalic((c.mode & 64) != 0);
    } else {
        font.setPointSize(int(std::min(points, kMaxFontPoints)));
    }
    QPainter painter(&canvas.picture());
    painter.setFont(font);
    const QFontMetrics metrics(font, &canvas.picture());
    const QRect box(int(std::max<int64_t>(x, -kMaxFontPoints * 400)), int(std::max<int64_t>(y, -kMaxFontPoints * 4)),
                    metrics.horizontalAdvance(text), metrics.height());
    // (mode 2 may have put the transparent marker into the text colour: then no text shows)
    if (!transparent && fillColor >= 0) painter.fillRect(box, QColor::fromRgb(rgbOfColor(uint32_t(fillColor))));
    if (textColor < 0) return;
    painter.setPen(QColor::fromRgb(rgbOfColor(uint32_t(textColor))));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}
