#pragma once
// The one way text from a field, a dialog answer or a file becomes an
// integer, and counting that never overflows. Every reading names the range
// the caller can live with, so no value outside it reaches arithmetic.
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace engine {

struct IntegerRange {
    int64_t lowest;
    int64_t highest;
};

inline constexpr IntegerRange kAnyInteger{-std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()};

// The leading decimal integer of text after optional blanks and one sign, the
// rest ignored. found is false when no digit follows; tooLarge when the digits
// do not fit in 64 bits (value then holds the nearest end).
struct LeadingInteger {
    int64_t value = 0;
    bool found = false;
    bool tooLarge = false;
};
LeadingInteger readLeadingInteger(std::string_view text);

// The leading integer (0 when there is none) when it lies in range; nothing
// when it lies outside or does not fit in 64 bits.
std::optional<int64_t> leadingIntegerIn(std::string_view text, IntegerRange range);

// The leading integer (0 when there is none) moved to the nearer end of range
// when it lies outside.
int64_t leadingIntegerClamped(std::string_view text, IntegerRange range);

// The whole text, blanks around it aside, is one integer in range.
std::optional<int64_t> wholeIntegerIn(std::string_view text, IntegerRange range);

// Arithmetic that stops at the ends of int64_t instead of overflowing.
int64_t saturatingAdd(int64_t a, int64_t b);
int64_t saturatingSubtract(int64_t a, int64_t b);
inline void countUp(int64_t& counter) { counter = saturatingAdd(counter, 1); }

}  // namespace engine
