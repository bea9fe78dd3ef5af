// Storage for the names of one tree: every name is kept once, as its bytes (UTF-8, or a name's own
// bytes where it is not UTF-8, see FileNameCodec.h) behind a length, in large shared blocks, so a
// million names cost a few hundred allocations instead of a million.
#pragma once

#include <QByteArrayView>
#include <cstddef>
#include <memory>
#include <vector>

class NameArena {
public:
    // Stores the bytes behind their length; the result stays valid until clear(). O(length),
    // an allocation per 64 KiB. Throws std::bad_alloc when memory runs out.
    const char* store(QByteArrayView bytes);

    // The bytes that store() returned `stored` for. O(1).
    static QByteArrayView bytesOf(const char* stored);

    // Frees every name at once. O(blocks).
    void clear();

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};
