#pragma once
// Digit counts and gaps over a segment of a number, read forwards and
// backwards, and the table lines the statistics command writes. No window.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

enum class ScanDirection { Forward, Backward };

struct DigitTable {
    std::array<int64_t, 10> count{};
    std::array<int64_t, 10> last{};  // 1-based step of the latest occurrence, 0 = not seen
    std::array<int64_t, 10> minimumGap{};
    std::array<int64_t, 10> maximumGap{};
};

// The segment as typed, clamped to the characters of a number of the given
// length: S below 1 becomes 1, E beyond the end becomes the length. S > E
// stays an empty segment.
struct Segment {
    int64_t start;
    int64_t end;
};
Segment clampSegment(int64_t start, int64_t end, int64_t length);

// One pass over positions start..end (1-based, as clampSegment leaves them;
// a segment reaching outside the number counts nothing). The gap
// between two occurrences is one less than the characters between them, so an
// adjacent pair gives -1; a gap of 0 never lowers the minimum.
DigitTable scanDigits(std::string_view number, Segment segment, ScanDirection direction);

// "Digit  How many times     Delay   Minimum   Maximum"
const std::string& digitTableHeader();
// Ten rows for digits 0..9; Delay = end - last step.
std::vector<std::string> digitTableRows(const DigitTable& table, int64_t end);
// "Total" + the sum of the counts in 16 characters.
std::string digitTotalLine(const DigitTable& table);
// "Segment analyzed from digit S to E (E - S)"
std::string segmentLine(Segment segment);

// Right-aligned in width; a longer value keeps its first width characters.
std::string rightAligned(int64_t value, size_t width);

}  // namespace engine
