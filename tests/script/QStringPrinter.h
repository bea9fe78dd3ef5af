// Readable QString values in test failure messages (control and code characters as \uXXXX).
#pragma once

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x80 && u < 0xA0 + 9) || (u >= 0x100 && u < 0x3000) || (u >= 0x3000 && u < 0x3400) ||
            (u >= 0x4000 && u < 0x4100))
            shown += QStringLiteral("\\u%1").arg(int(u), 4, 16, QChar(u'0'));
        else
            shown += c;
    }
    *os << '"' << shown.toStdString() << '"';
}
