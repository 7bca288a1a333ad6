#include "help/about_text.h"

#include <sys/sysinfo.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace help {

namespace {

std::string withThousands(uint64_t value)
{
    std::string digits = std::to_string(value);
    for (size_t at = digits.size() > 3 ? digits.size() - 3 : 0; at > 0; at = at > 3 ? at - 3 : 0)
        digits.insert(at, 1, ',');
    return digits;
}

}  // namespace

uint64_t freePhysicalMemoryBytes()
{
    if (std::FILE* meminfo = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        unsigned long long kilobytes = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, meminfo))
            found = std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1;
        std::fclose(meminfo);
        if (found)
            return kilobytes * 1024;
    }
    struct sysinfo info {};
    if (::sysinfo(&info) == 0)
        return static_cast<uint64_t>(info.freeram) * info.mem_unit;
    return 0;
}

std::string freeMemoryLine(uint64_t freeBytes)
{
    const uint64_t megabytes = freeBytes / 1000000;
    const auto hundredths = static_cast<uint64_t>(std::llround(static_cast<double>(megabytes) / 10.0));
    char fraction[4];
    std::snprintf(fraction, sizeof fraction, "%02u", static_cast<unsigned>(hundredths % 100));
    return "Free memory " + withThousands(hundredths / 100) + "." + fraction + " GB";
}

std::string aboutText(uint64_t freeBytes, const std::string& webAddress)
{
    const char* paragraphs[] = {
        "Quendrolt was put together by its author in March 2026 with C++ and Qt, and it gathers in one window a "
        "series of ASM routines the author had written over the years for working with very large numbers.",
        "Quendrolt is free software: you may copy it and hand it on to others without asking the author.",
        "It is recommended for use on computers with at least 16 GB of memory, in a 64-bit Windows environment.",
        "It does NOT guarantee the generation of prime numbers; it only attempts to find them within a range of digits "
        "by assembling blocks within a controlled segment and forcing 'chaos' in the distribution during this "
        "generation, moving away from random generation.",
        "If your antivirus software reports something when saving this program on your computer, you need to add it "
        "To your antivirus's exclusion list. This program does not contain viruses, Trojans, or malicious routines.\r"
        "Complain To your antivirus developer If this occurs; they love finding viruses where there are none to "
        "justify the high prices they charge.",
        "Don't waste money paying for antivirus software; use the free resources available within the Windows "
        "environment itself. They're excellent!",
    };
    std::string text;
    for (const char* paragraph : paragraphs) {
        text += paragraph;
        text += "\r\r";
    }
    text += "Good luck To all.\r";
    text += "Thanks to the people behind GMP and Qt, on whose work every calculation and window here rests.\r";
    text += "New versions and notes are published at " + webAddress;
    text += "\r\r";
    text += freeMemoryLine(freeBytes);
    return text;
}

}  // namespace help
