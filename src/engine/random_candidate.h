#pragma once
// The random candidate: a first digit from the start digits, random middle
// digits nine per draw, a last digit from the final digits, and optionally a
// signature block written over the digits after the first.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/random_source.h"

namespace engine {

// The digits a candidate may start and end with, in the order a choice of
// them is kept (the window's boxes from left to right).
inline constexpr std::string_view kStartDigitOrder = "1234567890";
inline constexpr std::string_view kFinalDigitOrder = "1379";

struct DigitChoices {
    std::string startDigits;  // some of kStartDigitOrder, in its order
    std::string finalDigits;  // some of kFinalDigitOrder, in its order
};

// A text of exactly n digits (n >= 3, both digit sets non-empty). The draws
// are made in a fixed order (first digit, n / 9 full draws and one partial,
// last digit) so that a run is reproducible from the random source alone.
// signatureBlock, when not empty, replaces the digits from position 2 on.
std::string buildRandomCandidate(engine::RandomSource& random, int64_t n, const DigitChoices& digits,
                                 std::string_view signatureBlock = {});

// One of the characters of a digit set, chosen by one draw.
char drawDigitFrom(engine::RandomSource& random, std::string_view set);

}  // namespace engine
