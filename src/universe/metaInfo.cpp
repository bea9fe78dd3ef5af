#include "metaInfo.h"

#include "common/Numbers.h"
#include "common/Settings.h"

#include <array>

namespace {

const std::array<const char16_t*, 7> kKindPrefixes{u"http:", u"file:", u"text:", u"html:", u"imag:", u"tbl0:", u"exec:"};
const std::array<const char16_t*, 7> kMarks{u"_◆", u"_◇", u"_■", u"_□", u"_★", u"_▲", u"_●"};

// Decimal integer after leading blanks; no digits give 0.
int leadingInt(const QString& text, qsizetype from) { return parseLeadingInt(QStringView(text).mid(from)); }

} // namespace

metaInfo::metaInfo(const QString& source) : text(source) {
    while (!text.isEmpty() && (text.back() == u'\n' || text.back() == u'\r')) text.chop(1);
    text.replace(u'\n', u' ').replace(u'\r', u' ');

    const qsizetype c1 = text.indexOf(u',');
    const qsizetype c2 = c1 < 0 ? -1 : text.indexOf(u',', c1 + 1);
    const qsizetype c3 = c2 < 0 ? -1 : text.indexOf(u',', c2 + 1);
    const qsizetype colon = c3 < 0 ? -1 : text.indexOf(u':', c3 + 1);
    const qsizetype c4 = c3 < 0 ? -1 : text.indexOf(u',', c3 + 1);
    if (c1 < 0) errors |= MetaNoWidthComma | MetaNoHeightComma | MetaNoIdComma | MetaNoKindColon;
    else if (c2 < 0) errors |= MetaNoHeightComma | MetaNoIdComma | MetaNoKindColon;
    else if (c3 < 0) errors |= MetaNoIdComma | MetaNoKindColon;
    else if (colon < 0) errors |= MetaNoKindColon;
    if (errors) return;

    width = leadingInt(text, 0);
    height = leadingInt(text, c1 + 1);
    windowId = static_cast<uint32_t>(leadingInt(text, c2 + 1));
    if (width < 10) errors |= MetaNarrow;
    if (height < 10) errors |= MetaLow;
    if (errors) return;

    qsizetype kindStart = c3 + 1;
    if (c4 >= 0 && c4 < colon) {
        dwell = leadingInt(text, c3 + 1);
        if (dwell <= 0) dwell = 1;
        kindStart = c4 + 1;
    }
    data = kindStart;
    const QStringView kindField = QStringView(text).mid(kindStart, 5);
    for (size_t i = 0; i < kKindPrefixes.size(); ++i) {
        if (kindField.size() == 5 && equalsCaseless(kindField, QStringView(kKindPrefixes[i]))) {
            dataKind = static_cast<int32_t>(i) + 1;
            return;
        }
    }
    errors |= MetaUnknownKind;
}

QString metaInfo::mark() const {
    if (dataKind < 1 || dataKind > 7) return {};
    return QString::fromUtf16(kMarks[static_cast<size_t>(dataKind - 1)]);
}
