#pragma once
// How much memory this process may still take, so that a test that cannot
// fit is refused with a message before it starts rather than ending in an
// allocation failure (or, inside FFTW or GMP, an abort) part-way.
#include <cstdint>
#include <string>

namespace prp {

struct MemoryRoom {
    uint64_t bytes = UINT64_MAX;  // UINT64_MAX: nothing known limits it
    std::string limitedBy;        // "the address-space limit (ulimit -v)", ...
};

// The least of what the address-space and data-size limits leave above
// what the process uses now, and of the machine's available memory and
// free swap.
MemoryRoom memoryRoom();

// Test-only: lowers the address-space limit to the process's present size
// plus `bytes`, so that a run shows its memory estimate to be enough.
void limitAddressSpaceTo(uint64_t bytes);

}  // namespace prp
