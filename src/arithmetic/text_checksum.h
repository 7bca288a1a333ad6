#pragma once
// The 64-bit FNV-1a hash the text files of long runs (checkpoints, FFT
// wisdom) end with, and its hex form.
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace arithmetic {

// `hash` continues an earlier one.
inline uint64_t fnv1a(const void* data, size_t size, uint64_t hash = 0xcbf29ce484222325ull)
{
    auto bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

inline std::string hex64(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

}  // namespace arithmetic
