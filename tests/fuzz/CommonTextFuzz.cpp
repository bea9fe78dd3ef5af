// The common readers on arbitrary bytes: text decoding and line splitting, settings fields,
// packed dates, leading numbers and the mount table parser. Any crash, hang or sanitizer report
// is a fault.
#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/TextCodec.h"
#include "common/Texts.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = decodeText(bytes);
    for (QString line : splitLines(text)) {
        dateNumber(line);
        parseLeadingNumber(line);
        while (auto rest = cutField(line))
            line = *rest;
    }
    encodeCp932(text);
    ansiLength(text);
    parseMountInfo(bytes);
    return 0;
}
