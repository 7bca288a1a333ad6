#include "engine/digit_statistics.h"

#include "engine/checked_integer.h"

#include <algorithm>
#include <iterator>

namespace engine {

Segment clampSegment(int64_t start, int64_t end, int64_t length)
{
    return {std::max<int64_t>(start, 1), std::min(end, length)};
}

DigitTable scanDigits(std::string_view number, Segment segment, ScanDirection direction)
{
    // Typed ends arrive anywhere in int64_t: the length of an empty segment
    // saturates rather than wrapping into a long one, and only the part of
    // the segment inside the number is ever read.
    const int64_t steps = saturatingAdd(saturatingSubtract(segment.end, segment.start), 1);
    DigitTable t;
    t.minimumGap.fill(steps);
    const int64_t length = static_cast<int64_t>(number.size());
    if (steps <= 0 || segment.start < 1 || segment.end > length)
        return t;

    // Local tables: stores through the char pointer could otherwise alias
    // them and force a reload of every entry on every character.
    int64_t count[10] = {}, last[10] = {}, minimum[10], maximum[10] = {};
    std::fill(std::begin(minimum), std::end(minimum), steps);
    const auto* first = reinterpret_cast<const unsigned char*>(number.data()) + (segment.start - 1);
    const bool forward = direction == ScanDirection::Forward;
    for (int64_t i = 0; i < steps; ++i) {
        const unsigned digit = static_cast<unsigned>(forward ? first[i] : first[steps - 1 - i]) - '0';
        if (digit > 9)
            continue;
        ++count[digit];
        // Written as selections rather than branches: on random digits the
        // comparisons are unpredictable and mispredictions would dominate.
        const bool seen = last[digit] != 0;
        const int64_t gap = i - last[digit] - 1;
        maximum[digit] = seen && gap > maximum[digit] ? gap : maximum[digit];
        minimum[digit] = seen && gap != 0 && gap < minimum[digit] ? gap : minimum[digit];
        last[digit] = i + 1;
    }
    std::copy(std::begin(count), std::end(count), t.count.begin());
    std::copy(std::begin(last), std::end(last), t.last.begin());
    std::copy(std::begin(minimum), std::end(minimum), t.minimumGap.begin());
    std::copy(std::begin(maximum), std::end(maximum), t.maximumGap.begin());
    return t;
}

std::string rightAligned(int64_t value, size_t width)
{
    std::string text = std::to_string(value);
    if (text.size() >= width)
        return text.substr(0, width);
    return std::string(width - text.size(), ' ') + text;
}

const std::string& digitTableHeader()
{
    static const std::string header = "Digit  How many times     Delay   Minimum   Maximum";
    return header;
}

std::vector<std::string> digitTableRows(const DigitTable& table, int64_t end)
{
    std::vector<std::string> rows;
    rows.reserve(10);
    for (int d = 0; d < 10; ++d) {
        // An adjacent pair is the closest spacing there is; it reads as 0.
        const int64_t minimum = table.minimumGap[d] == -1 ? 0 : table.minimumGap[d];
        rows.push_back("  " + std::to_string(d) + rightAligned(table.count[d], 18) +
                       rightAligned(saturatingSubtract(end, table.last[d]), 10) + rightAligned(minimum, 10) +
                       rightAligned(table.maximumGap[d], 10));
    }
    return rows;
}

std::string digitTotalLine(const DigitTable& table)
{
    int64_t total = 0;
    for (int64_t c : table.count)
        total = saturatingAdd(total, c);
    return "Total" + rightAligned(total, 16);
}

std::string segmentLine(Segment segment)
{
    return "Segment analyzed from digit " + std::to_string(segment.start) + " to " + std::to_string(segment.end) +
           " (" + std::to_string(saturatingSubtract(segment.end, segment.start)) + ")";
}

}  // namespace engine
