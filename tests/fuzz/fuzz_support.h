#pragma once
// What every harness shares: a property check that stops the run with the
// failed condition, and a scratch file for readers that take a path.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

namespace fuzz {

inline std::string_view asText(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// One file per process in the temporary directory, rewritten for every input:
// the readers under test open a path, never a buffer.
inline std::string scratchFile(std::string_view bytes, const char* suffix = "")
{
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/quendrolt-fuzz-" + std::to_string(::getpid());
    }();
    const std::string file = path + suffix;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    FUZZ_CHECK(out != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
    std::fclose(out);
    return file;
}

// The bytes '0'..'9' of text, in order: what every number reader keeps.
inline std::string plainDigits(std::string_view text)
{
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    return digits;
}

}  // namespace fuzz
