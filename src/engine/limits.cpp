#include "engine/limits.h"

#include <iterator>

namespace engine {

namespace {

// "Internal limit - minutes" resets to its start-up value 14400, so that a
// mistyped value never shortens the limit the user started with.
constexpr LimitSpec kSpecs[] = {
    {.entry = LargeNumbersStart, .name = "Large numbers start", .startValue = 7000, .lowest = 3000, .highest = 9000,
     .resetValue = 7000, .shownBound = 9000},
    {.entry = DigitsFactorization, .name = "Digits factorization", .startValue = 50, .lowest = 10, .highest = 50,
     .resetValue = 50, .shownBound = 50},
    {.entry = DigitsViewNumber, .name = "Digits view number", .startValue = 3000, .lowest = 100, .highest = 10000,
     .resetValue = 3000, .shownBound = 10000},
    {.entry = LimitNextPrevP, .name = "Limit 'NextP/PrevP'", .startValue = 10000, .lowest = 100, .highest = 100000,
     .resetValue = 10000, .shownBound = 100000},
    {.entry = LinesForExcel, .name = "Lines for Excel", .startValue = 16383, .lowest = 100, .highest = 16383,
     .resetValue = 16383, .shownBound = 16383},
    {.entry = OperatingNumber, .name = "Operating number", .startValue = 10000, .lowest = 1000, .highest = 10000,
     .resetValue = 10000, .shownBound = 10000},
    {.entry = HistoryLinesSaved, .name = "History lines saved", .startValue = 500, .lowest = 20, .highest = 90000,
     .resetValue = 500, .shownBound = 90000},
    {.entry = LimitDigitsGeneration, .name = "Limit digits generation", .startValue = 78000000, .lowest = 3,
     .highest = 78000000, .resetValue = 78000000, .shownBound = 78000000},
    {.entry = InternalLimitMinutes, .name = "Internal limit - minutes", .startValue = 14400, .lowest = 1,
     .highest = 14400, .resetValue = 14400, .shownBound = 14400},
};

// Entry e is row e - 1.
constexpr bool oneRowPerEntry()
{
    if (std::size(kSpecs) != kLimitCount)
        return false;
    for (size_t i = 0; i < std::size(kSpecs); ++i)
        if (kSpecs[i].entry != static_cast<int>(i) + 1)
            return false;
    return true;
}
static_assert(oneRowPerEntry());

}  // namespace

const LimitSpec& limitSpec(int entry) { return kSpecs[entry - 1]; }

LimitsTable::LimitsTable()
{
    for (int entry = 1; entry <= kLimitCount; ++entry)
        value[static_cast<size_t>(entry)] = limitSpec(entry).startValue;
}

}  // namespace engine
