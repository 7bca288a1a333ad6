#pragma once
// Which of the four ways a generation run works, by the digit count.
#include <cstdint>

namespace generator {

enum class GenerationMode { Iconic, Small, Medium, Large };

// From this digit count on the run always hands candidates to the external
// tester without the resume file: a fixed bound, not a Limits entry.
constexpr int64_t kLargeModeDigits = 78'000;

// largeNumbersStart is the Limits entry "Large numbers start".
GenerationMode chooseMode(int64_t n, bool iconic, int64_t largeNumbersStart);

// The waiting-line text of the iconic, small and medium modes.
const char* waitingText(GenerationMode mode);

}  // namespace generator
