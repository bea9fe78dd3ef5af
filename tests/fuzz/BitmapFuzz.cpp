// The bitmap reader on arbitrary bytes: the header check and the decoding of a frame file. Any
// crash, hang, sanitizer report or picture larger than the dot budget is a fault.
#include "anime/AnimeFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int64_t kDots = int64_t(1) << 20;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    int64_t width = 0, height = 0;
    bmpHeaderSize(bytes, width, height);
    QImage picture;
    if (decodeBmpFrame(bytes, kDots, picture) == FrameLoad::Ok &&
        (picture.isNull() || int64_t(picture.width()) * picture.height() > kDots))
        std::abort();
    return 0;
}
