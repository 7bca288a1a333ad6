#include "engine/random_candidate.h"

#include <cassert>

#include <algorithm>
#include <cstring>

namespace engine {

namespace {

constexpr int kDigitsPerDraw = 9;
constexpr int64_t kLargestDraw = 999'999'999;

// Nine digits with leading zeros, most significant first.
void writeNineDigits(int64_t value, char* out)
{
    for (int i = kDigitsPerDraw - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

char drawDigitFrom(engine::RandomSource& random, std::string_view set)
{
    int64_t index = random.draw(0, static_cast<int64_t>(set.size()) - 1);
    return set[static_cast<size_t>(index)];
}

std::string buildRandomCandidate(engine::RandomSource& random, int64_t n, const DigitChoices& digits,
                                 std::string_view signatureBlock)
{
    assert(n >= 3 && !digits.startDigits.empty() && !digits.finalDigits.empty());
    const size_t length = static_cast<size_t>(n);
    std::string text(length, '0');
    text[0] = drawDigitFrom(random, digits.startDigits);

    // The draws deliver n digits for the n - 2 middle positions; whatever
    // would land on the last position or beyond is drawn but not kept.
    const size_t middleEnd = length - 1;
    const int64_t draws = n / kDigitsPerDraw + (n % kDigitsPerDraw > 0 ? 1 : 0);
    size_t position = 1;
    char nine[kDigitsPerDraw];
    for (int64_t d = 0; d < draws; ++d) {
        writeNineDigits(random.draw(0, kLargestDraw), nine);
        if (position < middleEnd) {
            size_t kept = std::min<size_t>(kDigitsPerDraw, middleEnd - position);
            std::memcpy(&text[position], nine, kept);
            position += kept;
        }
    }

    text[middleEnd] = drawDigitFrom(random, digits.finalDigits);
    if (!signatureBlock.empty())
        std::memcpy(&text[1], signatureBlock.data(), std::min(signatureBlock.size(), length - 2));
    return text;
}

}  // namespace engine
