#pragma once
// The number a command works on: decimal digits typed as the argument,
// "@FILE" for a file or "-" for standard input. A file or standard input
// holds one number: digits, with white space allowed only around them. Any
// other character, or a second run of digits, is refused with its line and
// column, so that "2^521-1" or two numbers on two lines never become some
// other number. (The window's Load NUMBER keeps only the digits of a file;
// a script deserves to hear that its input was not one number.)
#include <cstdint>
#include <string>

namespace cli {

// The window's range of digit counts.
constexpr int64_t kFewestDigits = 3;
constexpr int64_t kMostDigits = 78'000'000;

// The digits of the number, leading zeros dropped ("0" for zero). Throws
// BadInput naming what was wrong.
[[nodiscard]] std::string readNumberArgument(const std::string& argument);

}  // namespace cli
