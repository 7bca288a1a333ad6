#pragma once
// The number a command works on: decimal digits typed as the argument,
// "@FILE" for a number file (read as Load NUMBER reads it: only the digits
// count) or "-" for standard input (read the same way).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace cli {

// The window's range of digit counts.
constexpr int64_t kFewestDigits = 3;
constexpr int64_t kMostDigits = 78'000'000;

// Thrown with a one-line message naming what was wrong; ends in exit 2.
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The digits of the number, leading zeros dropped ("0" for zero).
std::string readNumberArgument(const std::string& argument);

// Checks a digit count given as an option.
void checkDigitCount(int64_t digits, const char* what);

}  // namespace cli
