#pragma once
// The window's verdict words, by verdict code, as the primality check shows
// them after "Final verification: ".
#include <string>

namespace cli {

enum VerdictCode : int {
    VerdictNotPrime = 0,
    VerdictCouldBePrime = 1,
    VerdictIsPrime = 2,
    VerdictComposite = 3,
    VerdictPossiblePrime = 4,
    VerdictNotDone = 5,
};

const std::string& verdictWord(int code);

// The line the check writes when the first check finds a divisor.
constexpr const char* kDefinitelyNotPrime = "Definitely not a prime number";

}  // namespace cli
