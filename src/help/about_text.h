#pragma once
// The About box text and its free-memory line. No window.
#include <cstdint>
#include <string>

namespace help {

// Free physical memory in bytes: MemAvailable of /proc/meminfo, else sysinfo.
uint64_t freePhysicalMemoryBytes();

// "Free memory " + whole megabytes / 1000 with 2 decimals and thousands
// separators + " GB": 1,234,567,890 bytes give "Free memory 1.23 GB".
std::string freeMemoryLine(uint64_t freeBytes);

// The paragraphs of the About box, separated by two CRs, ending with the
// free-memory line.
std::string aboutText(uint64_t freeBytes, const std::string& webAddress);

}  // namespace help
