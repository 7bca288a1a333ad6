#pragma once
// Where one digit sits in a number: its count, its share, its first positions
// from the left and its last distances from the right, as one line. No window.
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

constexpr int64_t kMaxPositionsShown = 1000;

// A limit of 0, below 0 or above 1000 lists 1000 positions.
int64_t positionLimit(int64_t asked);

// "D" + d + ": " + count + " " + percent + "% F: " + first positions + " L: " + last distances,
// each list cut to 70 characters. The digit character is '0' + d, so a value
// outside 0..9 looks for that character code (and beyond a byte, for none).
// An empty number gives "".
std::string digitPositionLine(std::string_view number, int64_t digit, int64_t limit);

}  // namespace engine
