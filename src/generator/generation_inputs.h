#pragma once
// The inputs of a generation as the user left them in the window, read afresh
// at every start, and the checks that refuse a start.
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/random_candidate.h"
#include "shell/app_context.h"

namespace generator {

struct GenerationInputs {
    int64_t n = 0;             // "Total digits"
    engine::DigitChoices digits;
    bool iconic = false;
    QString iconicCharacter;   // at most one character
    bool resume = false;       // " Load Previous Processing"
};

std::string readFinalDigits(const ui::Controls& controls);
std::string readStartDigits(const ui::Controls& controls);

// Checks 1 to 5 in their order (digit sets, counter fields reset, size); shows
// the message of the first that fails and returns nothing.
std::optional<GenerationInputs> readCheckedInputs(shell::AppContext& ctx);

// The iconic limits and character, checked once the run holds the lock. An
// iconic character that is not a digit is refused like a missing one. Returns
// false after showing the message.
bool iconicInputsAccepted(shell::AppContext& ctx, const GenerationInputs& inputs);

// The digit the iconic number is made of ('0'..'9'); valid after the check.
inline char iconicDigit(const GenerationInputs& inputs) { return inputs.iconicCharacter.at(0).toLatin1(); }

}  // namespace generator
