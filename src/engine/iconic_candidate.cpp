#include "engine/iconic_candidate.h"

#include <cassert>

#include <string_view>

#include "engine/random_candidate.h"

namespace engine {

namespace {

int decimalDigits(int64_t value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

int64_t nines(int count)
{
    int64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value * 10 + 9;
    return value;
}

// A run of zeros would not be an n-digit number, so it starts with a 1.
std::string iconicPrefix(int64_t n, int tailWidth, char digit)
{
    const size_t length = static_cast<size_t>(n - tailWidth);
    if (digit != '0')
        return std::string(length, digit);
    std::string prefix(length, '0');
    prefix[0] = '1';
    return prefix;
}

}  // namespace

int iconicTailWidth(int64_t n)
{
    double scaled = static_cast<double>(n) * 2.303;
    return decimalDigits(static_cast<int64_t>(scaled));
}

IconicCandidates::IconicCandidates(int64_t n, char digit, std::string finalDigits)
    : digit_(digit),
      finalDigits_(std::move(finalDigits)),
      tailWidth_(iconicTailWidth(n)),
      tailMaximum_(nines(tailWidth_ - 1)),
      prefix_(iconicPrefix(n, tailWidth_, digit)),
      bitmap_(kBitmapBytes, 0)
{
    assert(digit_ >= '0' && digit_ <= '9' && !finalDigits_.empty() && n >= 3);
}

std::optional<std::string> IconicCandidates::next(engine::RandomSource& random)
{
    int64_t x = random.draw(1, tailMaximum_);
    char last = drawDigitFrom(random, finalDigits_);
    int64_t tail = 10 * x + (last - '0');

    uint8_t& byte = bitmap_[static_cast<size_t>(tail / 8)];
    const uint8_t mask = static_cast<uint8_t>(1u << (tail % 8));
    if (byte & mask) {
        ++duplicates_;
        return std::nullopt;
    }
    byte |= mask;
    ++recorded_;

    std::string tailText = std::to_string(x) + last;
    std::string candidate = prefix_;
    candidate.append(static_cast<size_t>(tailWidth_) - tailText.size(), '0');
    candidate += tailText;
    return candidate;
}

}  // namespace engine
