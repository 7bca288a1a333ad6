#pragma once
// The nine Limits: start-up values, accepted ranges and what Apply does with
// a value outside its range. The window's Limits list and the command line
// read the same rows.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

enum LimitEntry {
    LargeNumbersStart = 1,
    DigitsFactorization = 2,
    DigitsViewNumber = 3,
    LimitNextPrevP = 4,
    LinesForExcel = 5,
    OperatingNumber = 6,
    HistoryLinesSaved = 7,
    LimitDigitsGeneration = 8,
    InternalLimitMinutes = 9,
};

constexpr int kLimitCount = 9;

struct LimitSpec {
    LimitEntry entry;
    const char* name;      // item of the Limits list
    int64_t startValue;
    int64_t lowest;
    int64_t highest;
    int64_t resetValue;    // set when a value is out of range
    int64_t shownBound;    // "The current limit is: "
};

// Entry e (1..9) of the table.
const LimitSpec& limitSpec(int entry);

// Values of entries 1..9; index 0 is unused so that entries read as in the list.
struct LimitsTable {
    std::array<int64_t, kLimitCount + 1> value{};
    LimitsTable();
    int64_t operator[](int entry) const { return value[static_cast<size_t>(entry)]; }
    int64_t& operator[](int entry) { return value[static_cast<size_t>(entry)]; }
    // A loaded Limit may be any positive 15-digit number; its milliseconds are
    // capped (at over 30,000 years) so that they, and the allowances added to
    // them, stay far inside int64_t.
    static constexpr int64_t kLongestInternalLimitMinutes = 16'000'000'000;
    int64_t internalTimeLimitMs() const
    {
        return std::min(value[InternalLimitMinutes], kLongestInternalLimitMinutes) * 60 * 1000;
    }
};

}  // namespace engine
