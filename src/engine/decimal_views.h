#pragma once
// Views of numbers that may have tens of millions of digits: the length of
// the decimal text and its first and last characters, worked out without
// converting the whole number to text.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/big_integer.h"

namespace engine {

// Texts longer than this are shown as 40 characters + "..." + 40 characters.
constexpr size_t kFullViewLimit = 83;
constexpr size_t kViewEnd = 40;

// text itself, or its first 40 characters + "..." + its last 40.
std::string headDotsTail(std::string_view text);

// The same view of the decimal text of x ("-" counted as a character).
std::string headDotsTail(const engine::BigInt& x);

// The view above together with the length of the whole text, found with it.
struct ViewAndLength {
    std::string view;
    uint64_t length = 0;
};
ViewAndLength viewAndLength(const engine::BigInt& x);

// Characters of the decimal text of x, "-" included.
uint64_t decimalLength(const engine::BigInt& x);

// The first `count` characters of the decimal text of x (all of them when
// shorter); length receives the length of the whole text.
std::string leadingText(const engine::BigInt& x, size_t count, uint64_t* length = nullptr);

// What setFromDecimal makes of a decimal text and back: blanks and leading
// zeros dropped, "-0" and texts that are no number become "0". Works on the
// text, no conversion.
std::string canonicalDecimal(std::string_view text);

}  // namespace engine
