#include "ui/short_view.h"

#include <gtest/gtest.h>

#include "shell/time_texts.h"

using ui::shortView;

namespace {

std::string digits(size_t count)
{
    std::string s;
    for (size_t i = 0; i < count; ++i)
        s += char('0' + (i * 7 + 3) % 10);
    return s;
}

}  // namespace

TEST(ShortView, long_number_is_head_dots_tail_and_short_one_is_itself)
{
    std::string n = digits(300);
    EXPECT_EQ(shortView(n, 113).text, n.substr(0, 77) + "..." + n.substr(300 - 33));
    EXPECT_EQ(shortView("12345", 113).text, "12345");
    std::string exact = digits(113);
    EXPECT_EQ(shortView(exact, 113).text, exact);
    EXPECT_EQ(shortView(digits(114), 113).text.size(), 113u);
}

TEST(ShortView, signature_block_is_decoded_after_the_first_digit)
{
    // "9" + "124" + "065" "098" ("Ab") + "124" + rest
    std::string n = "9124065098124" + digits(200);
    ui::ShortView view = shortView(n, 113);
    EXPECT_EQ(view.signature, "Ab");
    // prefix "9Ab"; f = 113 - 3 - 3 = 107; tail 32; head 75 taken after the block.
    EXPECT_EQ(view.text, "9Ab" + n.substr(13, 75) + "..." + n.substr(n.size() - 32));

    std::string shortSigned = "7124065124" + std::string("55");
    EXPECT_EQ(shortView(shortSigned, 113).text, "7A55");
}

TEST(ShortView, incomplete_or_unprintable_block_shows_the_digits)
{
    for (std::string n : {std::string("1124065098") + "0000000", std::string("1124031124") + "99999"}) {
        ui::ShortView view = shortView(n, 113);
        EXPECT_EQ(view.signature, "") << n;
        EXPECT_EQ(view.text, n);
    }
}

TEST(Texts, thousands_and_elapsed_seconds)
{
    EXPECT_EQ(shell::withThousands(78000000), "78,000,000");
    EXPECT_EQ(shell::withThousands(999), "999");
    EXPECT_EQ(shell::withThousands(-1234), "-1,234");
    EXPECT_EQ(shell::elapsedSeconds(125), "0.125");
    EXPECT_EQ(shell::elapsedSeconds(4517), "4.517");
    QDateTime at(QDate(2026, 12, 6), QTime(14, 5, 9));
    EXPECT_EQ(shell::completionLine(125, at), "Done in 0.125 s at 14:05 h - 12/06/2026");
    EXPECT_EQ(shell::clockTimeWithSeconds(at), "14:05:09 h");
    EXPECT_EQ(shell::fileNameStamp(at), "06_12_2026_14_05h");
}
