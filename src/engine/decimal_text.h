#pragma once
// Numbers travel between commands as decimal text (std::string of ASCII
// digits, "-" first for a negative value). These are the conversions and the
// text cleaning every input goes through.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/big_integer.h"

namespace engine {

// The one reading of decimal text, shared by setFromDecimal and
// canonicalDecimal: blanks, one optional "-", a digit, then digits with blanks
// anywhere among them. Blanks are dropped, as pasting and the number files
// drop them, so a number kept in groups of digits reads as its digits.
// Nothing when the text is no number; otherwise the sign and the digits.
[[nodiscard]] std::optional<std::string> readDecimalText(std::string_view text);

// Sets x from decimal text read as readDecimalText reads it. Returns false
// (x unchanged) when the text is no number.
bool setFromDecimal(BigInt& x, const std::string& text);

// Decimal text of x: "0" for zero, "-" first when negative. Converts straight
// into the returned string (no intermediate buffer).
std::string toDecimal(const BigInt& x);

// The same text as toDecimal, converted as two halves on two threads when x
// is large (a division by a power of ten, then both halves at once).
std::string toDecimalInParallel(const BigInt& x);

// Number of decimal digits of |x| without converting it: exact for small
// values, otherwise GMP's estimate corrected by one comparison with 10^(d-1).
uint64_t decimalDigitCount(const BigInt& x);

// Keeps only the characters '0'..'9' of text, in place, in their order;
// returns how many were kept.
int64_t digitsFilter(std::string& text);
size_t keepDigitBytes(char* text, size_t size);

// Replaces every occurrence of pattern (ASCII letter case ignored) with
// replacement, repeating the pass until the pattern no longer occurs.
// A replacement that itself contains the pattern gets a single pass, since
// repeating would never end.
std::string removeAll(std::string text, std::string_view pattern, std::string_view replacement = {});

// Leading decimal integer of text after optional blanks and one sign; 0 when
// the text does not start with a number. Saturates instead of overflowing.
int64_t leadingInteger(std::string_view text);

}  // namespace engine
