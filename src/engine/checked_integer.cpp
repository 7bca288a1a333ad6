#include "engine/checked_integer.h"

#include <algorithm>

namespace engine {

namespace {

constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

// The reading of text from its start; end receives where the digits stop.
LeadingInteger readFrom(std::string_view text, size_t& end)
{
    LeadingInteger read;
    size_t i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        read.found = true;
        const int digit = text[i] - '0';
        if (read.tooLarge)
            continue;
        if (read.value > (kLargest - digit) / 10) {
            read.tooLarge = true;
            read.value = kLargest;
            continue;
        }
        read.value = read.value * 10 + digit;
    }
    // Negating a value in 0..kLargest cannot overflow.
    if (negative)
        read.value = -read.value;
    end = i;
    return read;
}

bool inRange(int64_t value, IntegerRange range) { return value >= range.lowest && value <= range.highest; }

}  // namespace

LeadingInteger readLeadingInteger(std::string_view text)
{
    size_t end = 0;
    return readFrom(text, end);
}

std::optional<int64_t> leadingIntegerIn(std::string_view text, IntegerRange range)
{
    const LeadingInteger read = readLeadingInteger(text);
    if (read.tooLarge || !inRange(read.value, range))
        return std::nullopt;
    return read.value;
}

int64_t leadingIntegerClamped(std::string_view text, IntegerRange range)
{
    return std::clamp(readLeadingInteger(text).value, range.lowest, range.highest);
}

std::optional<int64_t> wholeIntegerIn(std::string_view text, IntegerRange range)
{
    size_t end = 0;
    const LeadingInteger read = readFrom(text, end);
    if (!read.found || read.tooLarge || skipBlanks(text, end) != text.size() || !inRange(read.value, range))
        return std::nullopt;
    return read.value;
}

int64_t saturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? kLargest : std::numeric_limits<int64_t>::min();
    return sum;
}

int64_t saturatingSubtract(int64_t a, int64_t b)
{
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? kLargest : std::numeric_limits<int64_t>::min();
    return difference;
}

}  // namespace engine
