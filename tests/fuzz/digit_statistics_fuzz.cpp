// Digit statistics and digit positions against a plain count, for any
// segment a field or a file can hold.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "engine/digit_positions.h"
#include "engine/digit_statistics.h"
#include "fuzz_support.h"

namespace {

int64_t takeInteger(const uint8_t*& data, size_t& size)
{
    int64_t value = 0;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int64_t start = takeInteger(data, size);
    const int64_t end = takeInteger(data, size);
    const int64_t digit = takeInteger(data, size) % 12;
    const std::string number(fuzz::asText(data, size));
    const int64_t length = static_cast<int64_t>(number.size());

    const engine::Segment segment = engine::clampSegment(start, end, length);
    const engine::DigitTable table = engine::scanDigits(number, segment, engine::ScanDirection::Forward);
    const engine::DigitTable backward = engine::scanDigits(number, segment, engine::ScanDirection::Backward);
    std::array<int64_t, 10> expected{};
    for (int64_t p = std::max<int64_t>(segment.start, 1); p <= segment.end && p <= length; ++p)
        if (number[static_cast<size_t>(p - 1)] >= '0' && number[static_cast<size_t>(p - 1)] <= '9')
            ++expected[static_cast<size_t>(number[static_cast<size_t>(p - 1)] - '0')];
    FUZZ_CHECK(table.count == expected);
    FUZZ_CHECK(backward.count == expected);
    (void)engine::digitTableRows(table, segment.end);
    (void)engine::segmentLine(segment);

    // Digits -11..11: a value outside 0..9 looks for the character '0' + digit.
    const std::string line = engine::digitPositionLine(number, digit, end);
    if (number.empty()) {
        FUZZ_CHECK(line.empty());
        return 0;
    }
    const int64_t count = static_cast<int64_t>(std::count(number.begin(), number.end(), static_cast<char>('0' + digit)));
    const std::string head = "D" + std::to_string(digit) + ": " + std::to_string(count) + " ";
    FUZZ_CHECK(line.starts_with(head));
    return 0;
}
