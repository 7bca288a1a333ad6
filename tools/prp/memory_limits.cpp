#include "memory_limits.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <string_view>

namespace prp {

namespace {

// A "<key>: <n> kB" line of a /proc file, in bytes; UINT64_MAX when absent.
uint64_t procKilobytes(const char* path, std::string_view key)
{
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == ':')
            return std::stoull(line.substr(key.size() + 1)) * 1024;
    return UINT64_MAX;
}

uint64_t softLimit(int resource)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return UINT64_MAX;
    return limit.rlim_cur;
}

void lower(MemoryRoom& room, uint64_t limit, uint64_t used, const char* what)
{
    if (limit == UINT64_MAX || used == UINT64_MAX)
        return;
    uint64_t left = limit > used ? limit - used : 0;
    if (left < room.bytes) {
        room.bytes = left;
        room.limitedBy = what;
    }
}

}  // namespace

MemoryRoom memoryRoom()
{
    MemoryRoom room;
    lower(room, softLimit(RLIMIT_AS), procKilobytes("/proc/self/status", "VmSize"),
          "the address-space limit (ulimit -v)");
    lower(room, softLimit(RLIMIT_DATA), procKilobytes("/proc/self/status", "VmData"),
          "the data-size limit (ulimit -d)");
    uint64_t available = procKilobytes("/proc/meminfo", "MemAvailable");
    uint64_t swap = procKilobytes("/proc/meminfo", "SwapFree");
    if (available != UINT64_MAX)
        lower(room, available + (swap == UINT64_MAX ? 0 : swap), 0, "the machine's available memory and swap");
    return room;
}

void limitAddressSpaceTo(uint64_t bytes)
{
    uint64_t used = procKilobytes("/proc/self/status", "VmSize");
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = std::min<uint64_t>(used + bytes, limit.rlim_max);
    setrlimit(RLIMIT_AS, &limit);
}

}  // namespace prp
