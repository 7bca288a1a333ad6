#include "shell/limits.h"

namespace shell {

namespace {

// "Internal limit - minutes" resets to its start-up value 14400, so that a
// mistyped value never shortens the limit the user started with.
const LimitSpec kSpecs[kLimitCount + 1] = {
    {"", 0, 0, 0, 0, 0},
    {"Large numbers start", 7000, 3000, 9000, 7000, 9000},
    {"Digits factorization", 50, 10, 50, 50, 50},
    {"Digits view number", 3000, 100, 10000, 3000, 10000},
    {"Limit 'NextP/PrevP'", 10000, 100, 100000, 10000, 100000},
    {"Lines for Excel", 16383, 100, 16383, 16383, 16383},
    {"Operating number", 10000, 1000, 10000, 10000, 10000},
    {"History lines saved", 500, 20, 90000, 500, 90000},
    {"Limit digits generation", 78000000, 3, 78000000, 78000000, 78000000},
    {"Internal limit - minutes", 14400, 1, 14400, 14400, 14400},
};

}  // namespace

const LimitSpec& limitSpec(int entry) { return kSpecs[entry]; }

LimitsTable::LimitsTable()
{
    for (int entry = 1; entry <= kLimitCount; ++entry)
        value[static_cast<size_t>(entry)] = kSpecs[entry].startValue;
}

}  // namespace shell
