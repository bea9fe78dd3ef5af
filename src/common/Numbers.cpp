#include "Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

double parseLeadingNumber(QStringView text, qsizetype* used) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    std::string ascii;
    auto digitAt = [&](qsizetype k) { return k < n && text[k].unicode() >= u'0' && text[k].unicode() <= u'9'; };
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool any = false;
    while (digitAt(i)) {
        ascii += static_cast<char>(text[i].unicode());
        ++i;
        any = true;
    }
    if (i < n && text[i] == u'.') {
        ascii += '.';
        ++i;
        while (digitAt(i)) {
            ascii += static_cast<char>(text[i].unicode());
            ++i;
            any = true;
        }
    }
    if (!any) {
        if (used) *used = 0;
        return 0.0;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype k = i + 1;
        std::string exponent = "e";
        if (k < n && (text[k] == u'+' || text[k] == u'-')) exponent += static_cast<char>(text[k++].unicode());
        if (digitAt(k)) {
            while (digitAt(k)) exponent += static_cast<char>(text[k++].unicode());
            ascii += exponent;
            i = k;
        }
    }
    if (ascii.front() == '.') ascii.insert(ascii.begin(), '0');
    double value = 0.0;
    const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    // Out of range: tiny magnitudes read as 0, huge ones as infinity (what atof gives).
    if (r.ec == std::errc::result_out_of_range) value = ascii.find("e-") != std::string::npos ? 0.0 : HUGE_VAL;
    if (used) *used = i;
    return negative ? -value : value;
}

int parseLeadingInt(QStringView text) { return truncToInt(parseLeadingNumber(text)); }
