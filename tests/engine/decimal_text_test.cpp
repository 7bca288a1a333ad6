#include "engine/decimal_text.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(DecimalText, round_trips_zero_negatives_and_large_values)
{
    for (const char* text : {"0", "7", "-1", "-123456789012345678901234567890", "98765432109876543210987654321"}) {
        BigInt x;
        ASSERT_TRUE(setFromDecimal(x, text));
        EXPECT_EQ(toDecimal(x), text);
    }
}

TEST(DecimalText, digit_count_comes_from_the_size_and_matches_the_text)
{
    BigInt x;
    for (const char* text : {"0", "9", "10", "99", "100", "999999999999999999999", "1000000000000000000000", "-12345"}) {
        ASSERT_TRUE(setFromDecimal(x, text));
        std::string shown = toDecimal(x);
        EXPECT_EQ(decimalDigitCount(x), shown.size() - (shown[0] == '-' ? 1 : 0)) << text;
    }
    mpz_ui_pow_ui(x.get(), 10, 5000);
    EXPECT_EQ(decimalDigitCount(x), 5001u);
    mpz_sub_ui(x.get(), x.get(), 1);
    EXPECT_EQ(decimalDigitCount(x), 5000u);
}

TEST(DecimalText, rejected_text_is_reported)
{
    BigInt x;
    EXPECT_FALSE(setFromDecimal(x, "12a"));
}

TEST(DigitsFilter, keeps_only_digits_in_order)
{
    struct Case { std::string in; std::string out; };
    for (Case c : {Case{"12 34\r\n5-6", "123456"}, Case{"abc", ""}, Case{"", ""}, Case{"007", "007"}}) {
        std::string text = c.in;
        EXPECT_EQ(digitsFilter(text), static_cast<int64_t>(c.out.size()));
        EXPECT_EQ(text, c.out);
    }
}

TEST(RemoveAll, repeats_until_the_pattern_is_gone_and_ignores_case)
{
    EXPECT_EQ(removeAll("1 2  3", " "), "123");
    EXPECT_EQ(removeAll("aXxb", "x"), "ab");
    // One pass of "ab" over "aabb" leaves "ab", which a second pass removes.
    EXPECT_EQ(removeAll("aabb", "AB"), "");
    EXPECT_EQ(removeAll("a\r\nb\tc", "\r\n"), "ab\tc");
    // A replacement containing the pattern would loop forever: one pass only.
    EXPECT_EQ(removeAll("x", "x", "xx"), "xx");
}

TEST(LeadingInteger, reads_like_the_input_fields)
{
    EXPECT_EQ(leadingInteger("1111"), 1111);
    EXPECT_EQ(leadingInteger("  42abc"), 42);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("-5"), -5);
    EXPECT_EQ(leadingInteger("99999999999999999999999"), INT64_MAX);
}

TEST(DecimalText, parallel_conversion_gives_the_same_text_across_the_split)
{
    BigInt x;
    std::string expected;
    // Around the split point the low half starts with zeros, is all nines, or is zero.
    for (int variant = 0; variant < 5; ++variant) {
        mpz_ui_pow_ui(x.get(), 10, 250000);
        switch (variant) {
        case 0: break;                                   // 1 followed by zeros
        case 1: mpz_sub_ui(x.get(), x.get(), 1); break;  // all nines
        case 2: mpz_add_ui(x.get(), x.get(), 7); break;  // zeros, then 7
        case 3: mpz_mul_ui(x.get(), x.get(), 123456789); mpz_add_ui(x.get(), x.get(), 42); break;
        case 4: mpz_mul_si(x.get(), x.get(), -3); mpz_sub_ui(x.get(), x.get(), 1); break;
        }
        EXPECT_EQ(toDecimalInParallel(x), toDecimal(x)) << "variant " << variant;
    }
}
