#include "arithmetic/fft_wisdom.h"

#include <cpuid.h>

#include <cstdlib>
#include <cstring>

#include <fftw3.h>

#include "arithmetic/text_checksum.h"

namespace arithmetic::fft {

namespace {

constexpr const char* kMagicLine = "quendrolt fftw wisdom 1\n";
constexpr const char* kChecksumKey = "checksum ";

// The processor's brand string and signature from CPUID.
std::string processorName()
{
    unsigned regs[12] = {};
    unsigned highest = __get_cpuid_max(0x80000000u, nullptr);
    std::string name;
    if (highest >= 0x80000004u) {
        for (unsigned i = 0; i < 3; ++i)
            __get_cpuid(0x80000002u + i, &regs[4 * i], &regs[4 * i + 1], &regs[4 * i + 2], &regs[4 * i + 3]);
        name.assign(reinterpret_cast<const char*>(regs), sizeof regs);
        name = name.c_str();  // up to its terminating zero
    }
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    __get_cpuid(1, &eax, &ebx, &ecx, &edx);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    while (!name.empty() && name.front() == ' ')
        name.erase(0, 1);
    char signature[32];
    std::snprintf(signature, sizeof signature, " signature %08x", eax);
    return name + signature;
}

}  // namespace

std::string wisdomOrigin()
{
    return std::string("fftw ") + fftw_version + " on " + processorName();
}

std::string wisdomText()
{
    char* wisdom = fftw_export_wisdom_to_string();
    std::string text = std::string(kMagicLine) + wisdomOrigin() + "\n";
    if (wisdom) {
        text += wisdom;
        std::free(wisdom);
    }
    if (!text.ends_with("\n"))
        text += "\n";
    text += kChecksumKey + hex64(fnv1a(text.data(), text.size())) + "\n";
    return text;
}

bool addWisdomText(const std::string& text)
{
    const std::string header = std::string(kMagicLine) + wisdomOrigin() + "\n";
    size_t checksumAt = text.rfind(std::string("\n") + kChecksumKey);
    if (!text.starts_with(header) || checksumAt == std::string::npos)
        return false;
    size_t bodySize = checksumAt + 1;
    if (text.substr(bodySize) != kChecksumKey + hex64(fnv1a(text.data(), bodySize)) + "\n")
        return false;
    std::string wisdom = text.substr(header.size(), bodySize - header.size());
    // FFTW reads the whole text before it keeps any of it: a text it cannot
    // parse leaves its wisdom as it was.
    return fftw_import_wisdom_from_string(wisdom.c_str()) != 0;
}

}  // namespace arithmetic::fft
