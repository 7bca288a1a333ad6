#pragma once
// Numeric options are taken as the text typed and read here, so that every
// refusal shows the value as it was given (a conversion library would clamp
// 99999999999999999999 or reword it) and ends in exit 2.
#include <cstdint>
#include <optional>
#include <string>

namespace cli {

struct IntegerRange {
    int64_t fewest;
    int64_t most;
};

// A whole decimal number in range; option names it in messages ("--digits").
int64_t integerOption(const char* option, const std::string& text, IntegerRange range);

// A seed: a whole number from 0 to 2^64 - 1.
uint64_t seedOption(const std::string& text);

// The threads of each rank of a search: --threads when typed (1 to 1,024),
// else 1 per rank when there are several ranks, else 0 (every core).
unsigned searchThreads(const std::optional<std::string>& typed, int ranks);

// Seconds: a finite decimal number above 0 and at most a year.
double secondsOption(const char* option, const std::string& text);

}  // namespace cli
