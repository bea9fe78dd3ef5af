#include "Texts.h"

#include "Numbers.h"
#include "Platform.h"
#include "Settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

QString sizeText(uint64_t bytes) {
    char buf[32];
    if (bytes < 1024) {
        std::snprintf(buf, sizeof buf, "%5llu", static_cast<unsigned long long>(bytes));
        return QString::fromLatin1(buf);
    }
    static const char units[] = {'k', 'm', 'g', 't'};
    int unit = 0;
    double q = static_cast<double>(bytes) / 1024.0;
    while (q >= 1024.0 && unit < 3) {
        q /= 1024.0;
        ++unit;
    }
    // Beyond 2 million terabytes the thousandfold quotient leaves int; it must not wrap.
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(truncToInt64(q * 1000.0)));
    const QString d = QString::fromLatin1(buf);
    QString out;
    if (q >= 1000)
        out = d.left(4);
    else if (q >= 100)
        out = u' ' + d.left(3);
    else if (q >= 10)
        out = d.left(2) + u'.' + d.mid(2, 1);
    else
        out = d.left(1) + u'.' + d.mid(1, 2);
    return out + QChar(units[unit]);
}

namespace {
QString reversedText(const QString& text) {
    QString out(text);
    std::reverse(out.begin(), out.end());
    return out;
}
} // namespace

QString commaText(const QString& digits, int width) {
    QString reversed = reversedText(digits);
    while (reversed.size() < width)
        reversed += u' ';
    QString grouped;
    for (qsizetype i = 0; i < reversed.size(); ++i) {
        grouped += reversed[i];
        if ((i + 1) % 3 == 0 && i + 1 < reversed.size() && reversed[i + 1] != u' ') grouped += u',';
    }
    grouped.truncate(width);
    return reversedText(grouped);
}

uint64_t fileTimeNumber(std::time_t modified) {
    std::tm t{};
    localtime_r(&modified, &t);
    uint64_t v = static_cast<uint64_t>(t.tm_year + 1900);
    for (int part : {t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec})
        v = v * 100 + static_cast<uint64_t>(part);
    return v;
}

uint64_t dateNumber(const QString& text) {
    uint64_t value = 0;
    qsizetype i = 0;
    for (int group = 0; group < 6 && i < text.size(); ++group) {
        uint64_t number = 0;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            number = number * 10 + static_cast<uint64_t>(text[i].unicode() - u'0');
            ++i;
        }
        value = value * 100 + number;
        if (i < text.size()) ++i; // the character that ended the group
        while (i < text.size() && text[i].unicode() >= 10 && text[i].unicode() <= 47)
            ++i;
    }
    return value;
}

QString dateText(uint64_t packed) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%014llu", static_cast<unsigned long long>(packed));
    const QString d = QString::fromLatin1(buf);
    return d.left(4) + u'/' + d.mid(4, 2) + u'/' + d.mid(6, 2) + u' ' + d.mid(8, 2) + u':' + d.mid(10, 2) +
           u':' + d.mid(12, 2);
}

QString numberText(double value) {
    char buf[400];
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.2e18) {
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
        return QString::fromLatin1(buf, r.ptr - buf);
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    if (r.ec != std::errc()) return QStringLiteral("nan");
    return QString::fromLatin1(buf, r.ptr - buf);
}

QString imageKind(const QString& path, bool verify) {
    struct Kind {
        const char* key;
        uint64_t signature;
    };
    static const std::array<Kind, 8> kinds{{
        {"jpeg", 0xFFD8000000000000ULL},
        {"jpg", 0xFFD8000000000000ULL},
        {"png", 0x89504E470D0A1A0AULL},
        {"gif", 0x4749460000000000ULL},
        {"iff1", 0x4949000000000000ULL},
        {"tiff2", 0x4D4D000000000000ULL},
        {"bmp", 0x424D000000000000ULL},
        {"pic", 0x5049430000000000ULL},
    }};
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0) return QStringLiteral("non");
    const QString ext = path.mid(dot + 1);
    for (const Kind& k : kinds) {
        if (!equalsCaseless(ext, QString::fromLatin1(k.key))) continue;
        if (!verify) return QString::fromLatin1(k.key);
        const QByteArray head = readFileHead(path, 8);
        if (head.size() < 8) return QStringLiteral("non");
        uint64_t v = 0;
        for (char c : head)
            v = v << 8 | static_cast<unsigned char>(c);
        return (v & k.signature) == k.signature ? QString::fromLatin1(k.key) : QStringLiteral("non");
    }
    return QStringLiteral("non");
}
