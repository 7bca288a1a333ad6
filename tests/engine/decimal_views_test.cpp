// The ends of huge numbers are worked out without converting them whole:
// they must agree with the full conversion, around powers of ten too.
#include <gtest/gtest.h>

#include "engine/decimal_views.h"
#include "engine/decimal_text.h"

using engine::canonicalDecimal;
using engine::decimalLength;
using engine::headDotsTail;
using engine::leadingText;

namespace {

engine::BigInt fromText(const std::string& text)
{
    engine::BigInt x;
    engine::setFromDecimal(x, text);
    return x;
}

}  // namespace

TEST(DecimalViews, ends_of_large_numbers_agree_with_the_full_text)
{
    std::string pattern;
    for (int i = 0; i < 5000; ++i)
        pattern += char('0' + (i * 7 + 3) % 10);
    const std::string cases[] = {
        "9" + pattern,
        "-" + std::string(3000, '9'),                 // just below a power of ten
        "1" + std::string(3000, '0'),                 // a power of ten
        "-1" + std::string(2999, '0') + "1",
        std::string(700, '9') + std::string(700, '0'),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 12));
        engine::BigInt x = fromText(text);
        EXPECT_EQ(headDotsTail(x), headDotsTail(std::string_view(text)));
        EXPECT_EQ(decimalLength(x), text.size());
        uint64_t length = 0;
        EXPECT_EQ(leadingText(x, 40, &length), text.substr(0, 40));
        EXPECT_EQ(length, text.size());
    }
}

TEST(DecimalViews, short_texts_are_shown_whole_up_to_83_characters)
{
    EXPECT_EQ(headDotsTail(std::string_view(std::string(83, '4'))), std::string(83, '4'));
    std::string text = std::string(42, '1') + std::string(42, '2');
    EXPECT_EQ(headDotsTail(std::string_view(text)), std::string(40, '1') + "..." + std::string(40, '2'));
    EXPECT_EQ(headDotsTail(fromText("-12")), "-12");
}

TEST(DecimalViews, canonical_text_is_what_gmp_gives_back)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0021", "21"}, {"-0012", "-12"}, {"000", "0"}, {"-0", "0"}, {"", "0"}, {"12-", "0"}, {"-", "0"}, {"7", "7"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(canonicalDecimal(text), expected) << text;
}

// The calculator's undo keeps a text and reads it back with canonicalDecimal,
// every other path reads with setFromDecimal: both must see the same number.
TEST(DecimalViews, canonical_text_and_set_from_decimal_read_blanks_alike)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12 34", "1234"}, {" 12", "12"},   {"12 \r\n", "12"}, {"-0 0", "0"}, {"1\t2\v3\f4", "1234"},
        {"- 12", "0"},     {"+12", "0"},    {" ", "0"},        {"1 2a", "0"}, {"-00 7", "-7"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(canonicalDecimal(text), expected);
        engine::BigInt x;
        const bool read = engine::setFromDecimal(x, text);
        EXPECT_EQ(read ? engine::toDecimal(x) : "0", expected);
    }
}
