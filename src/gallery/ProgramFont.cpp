#include "ProgramFont.h"

#include <QStringList>
#include <algorithm>

QFont programFont(const QString& name, int pixelSize, bool bold, bool italic) {
    const QString japanese = QStringLiteral("Noto Sans CJK JP");
    QFont font;
    // The Windows Japanese faces (ＭＳ ゴシック, ＭＳ Ｐゴシック, ＭＳ 明朝, ...) are not here; other faces are
    // used when present, with the Japanese family behind them for the characters they lack.
    if (name.startsWith(QStringLiteral("ＭＳ")) || name.isEmpty())
        font.setFamilies({japanese});
    else
        font.setFamilies({name, japanese});
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
