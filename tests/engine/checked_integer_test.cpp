// The checked reading of typed and stored integers, and counting that stops
// at the end of the range instead of wrapping.
#include <gtest/gtest.h>

#include <limits>

#include "engine/checked_integer.h"

using namespace engine;

namespace {
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
}  // namespace

TEST(CheckedInteger, leading_integers_inside_and_outside_a_range)
{
    struct Case {
        const char* text;
        std::optional<int64_t> in0to9;
        int64_t clamped0to9;
    };
    const Case cases[] = {
        {"7", 7, 7},
        {" +3 apples", 3, 3},
        {"", 0, 0},
        {"abc", 0, 0},
        {"10", std::nullopt, 9},
        {"-1", std::nullopt, 0},
        {"99999999999999999999", std::nullopt, 9},
        {"-99999999999999999999", std::nullopt, 0},
        {"9223372036854775807", std::nullopt, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingIntegerIn(c.text, {0, 9}), c.in0to9);
        EXPECT_EQ(leadingIntegerClamped(c.text, {0, 9}), c.clamped0to9);
    }
}

TEST(CheckedInteger, digits_beyond_64_bits_never_pass_even_the_widest_range)
{
    EXPECT_EQ(leadingIntegerIn("9223372036854775807", kAnyInteger), kMax);
    EXPECT_EQ(leadingIntegerIn("9223372036854775808", kAnyInteger), std::nullopt);
    EXPECT_EQ(leadingIntegerIn("-99999999999999999999", kAnyInteger), std::nullopt);
    EXPECT_TRUE(readLeadingInteger("123456789012345678901234567890").tooLarge);
}

TEST(CheckedInteger, a_whole_integer_allows_blanks_around_it_and_nothing_else)
{
    EXPECT_EQ(wholeIntegerIn(" 42\t", {1, 100}), 42);
    EXPECT_EQ(wholeIntegerIn("-5", {-9, 9}), -5);
    for (const char* text : {"", " ", "4 2", "42x", "x42", "-", "420", "0"})
        EXPECT_EQ(wholeIntegerIn(text, {1, 100}), std::nullopt) << text;
}

TEST(CheckedInteger, counting_stops_at_the_ends_of_the_range)
{
    int64_t counter = kMax - 1;
    countUp(counter);
    countUp(counter);
    EXPECT_EQ(counter, kMax);
    EXPECT_EQ(saturatingAdd(kMin, -1), kMin);
    EXPECT_EQ(saturatingSubtract(-kMax, 3), kMin);
    EXPECT_EQ(saturatingSubtract(3, -kMax), kMax);
    EXPECT_EQ(saturatingSubtract(10, 3), 7);
}
