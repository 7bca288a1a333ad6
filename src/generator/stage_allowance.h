#pragma once
// The bound of the Mersenne exponent searches, grown with the size of the
// numbers the run works on.
#include <cstdint>

namespace generator {

// Rough milliseconds one step on an n-digit number takes, kept within
// 20,000..300,000.
int64_t sizeEstimateMs(int64_t n);

// Eight size estimates, or the internal limit + 5,000 ms when that is smaller.
int64_t stageAllowanceMs(int64_t n, int64_t internalLimitMs);

}  // namespace generator
