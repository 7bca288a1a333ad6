#include "generator/stage_allowance.h"

#include <algorithm>
#include <cmath>

namespace generator {

namespace {

int64_t baseMs(int64_t n)
{
    if (n <= 20'000)
        return 15;
    if (n <= 50'000)
        return 35;
    if (n <= 250'000)
        return 130;
    if (n <= 1'000'000)
        return 320;
    return std::llround(static_cast<double>(n - 1'000'000) / 1'000'000.0 * 200.0 + 320.0);
}

double slopeMsPerDigit(int64_t n)
{
    if (n <= 250'000)
        return 0.00037;
    if (n <= 1'000'000)
        return 0.0004;
    return 0.00071;
}

}  // namespace

int64_t sizeEstimateMs(int64_t n)
{
    int64_t estimate = 5 * (baseMs(n) + std::llround(static_cast<double>(n) * slopeMsPerDigit(n)));
    return std::clamp<int64_t>(estimate, 20'000, 300'000);
}

int64_t stageAllowanceMs(int64_t n, int64_t internalLimitMs)
{
    int64_t allowance = 8 * sizeEstimateMs(n);
    return allowance > internalLimitMs ? internalLimitMs + 5'000 : allowance;
}

}  // namespace generator
