// Every malloc of the process is counted, so that a benchmark can show how many allocations its
// statements make. Include in exactly one file of a benchmark program.
#pragma once

#include <atomic>
#include <cstdlib>

extern "C" void* __libc_malloc(size_t size);

inline std::atomic<long> mallocCount{0};

extern "C" void* malloc(size_t size) {
    mallocCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
