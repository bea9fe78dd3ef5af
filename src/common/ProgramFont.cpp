#include "ProgramFont.h"

#include <algorithm>

QStringList programFontFamilies(const QString& name) {
    static const QString sans = QStringLiteral("Noto Sans CJK JP");
    static const QString serif = QStringLiteral("Noto Serif CJK JP");
    if (name.contains(QStringLiteral("明朝")) || name.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) ||
        name == QStringLiteral("Times New Roman"))
        return {serif};
    if (name.isEmpty() || name.startsWith(QStringLiteral("ＭＳ")) || name.contains(QStringLiteral("ゴシック")) ||
        name.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive))
        return {sans};
    return {name, sans};
}

QFont programFont(const QString& name, int pixelSize, bool bold, bool italic) {
    QFont font;
    font.setFamilies(programFontFamilies(name));
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
