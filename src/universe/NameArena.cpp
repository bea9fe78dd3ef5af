#include "NameArena.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kBlock = 64 * 1024;
// Lengths below this take one byte; longer ones (only a root path or a chart's name can be) take
// this marker and four bytes.
constexpr unsigned char kLongLength = 255;

void writeName(char* at, QByteArrayView bytes) {
    const auto length = static_cast<uint32_t>(bytes.size());
    std::size_t head = 1;
    if (length < kLongLength) {
        at[0] = static_cast<char>(length);
    } else {
        at[0] = static_cast<char>(kLongLength);
        std::memcpy(at + 1, &length, sizeof length);
        head += sizeof length;
    }
    if (length) std::memcpy(at + head, bytes.data(), length);
}

} // namespace

const char* NameArena::store(QByteArrayView bytes) {
    const auto length = static_cast<std::size_t>(bytes.size());
    const std::size_t need = (length < kLongLength ? 1 : 1 + sizeof(uint32_t)) + length;
    if (need > kBlock / 4) {
        // A name too large to share a block gets one of its own; the open block stays open.
        blocks_.push_back(std::make_unique<char[]>(need));
        writeName(blocks_.back().get(), bytes);
        return blocks_.back().get();
    }
    if (need > left_) {
        blocks_.push_back(std::make_unique<char[]>(kBlock));
        free_ = blocks_.back().get();
        left_ = kBlock;
    }
    char* at = free_;
    writeName(at, bytes);
    free_ += need;
    left_ -= need;
    return at;
}

QByteArrayView NameArena::bytesOf(const char* stored) {
    if (!stored) return {};
    const auto first = static_cast<unsigned char>(stored[0]);
    if (first < kLongLength) return QByteArrayView(stored + 1, first);
    uint32_t n = 0;
    std::memcpy(&n, stored + 1, sizeof n);
    return QByteArrayView(stored + 1 + sizeof n, static_cast<qsizetype>(n));
}

void NameArena::clear() {
    blocks_.clear();
    free_ = nullptr;
    left_ = 0;
}
