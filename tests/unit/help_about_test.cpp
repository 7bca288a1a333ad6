// Help text splitting and the About box texts.
#include <gtest/gtest.h>

#include "help/about_text.h"
#include "help/help_text.h"

using help::splitHelpText;

TEST(HelpText, splits_at_line_feeds_keeping_the_carriage_returns)
{
    using V = std::vector<std::string_view>;
    EXPECT_EQ(splitHelpText("one\r\ntwo\r\nthree"), (V{"one\r", "two\r", "three"}));
    EXPECT_EQ(splitHelpText("one\ntwo\n"), (V{"one", "two", ""}));
    EXPECT_EQ(splitHelpText("one\rtwo\rthree"), (V{"one\rtwo\rthree"})) << "no line feed: one line";
    EXPECT_EQ(splitHelpText(""), (V{""}));
}

TEST(HelpText, a_file_of_more_than_500_line_breaks_is_split_whole)
{
    std::string text;
    for (int i = 0; i < 1200; ++i)
        text.append("line ").append(std::to_string(i)).append("\n");
    const auto lines = splitHelpText(text);
    ASSERT_EQ(lines.size(), 1201u);
    EXPECT_EQ(lines[1199], "line 1199");
}

TEST(AboutText, free_memory_is_whole_megabytes_over_a_thousand_with_two_decimals)
{
    EXPECT_EQ(help::freeMemoryLine(1234567890ULL), "Free memory 1.23 GB");
    EXPECT_EQ(help::freeMemoryLine(999999ULL), "Free memory 0.00 GB");
    EXPECT_EQ(help::freeMemoryLine(1235000000ULL), "Free memory 1.24 GB");
    EXPECT_EQ(help::freeMemoryLine(16999999999ULL), "Free memory 17.00 GB");
    EXPECT_EQ(help::freeMemoryLine(1234567000000000ULL), "Free memory 1,234,567.00 GB");
}

TEST(AboutText, paragraphs_are_separated_by_two_carriage_returns_and_end_with_the_memory_line)
{
    const std::string text = help::aboutText(1234567890ULL, "https://example.org");
    EXPECT_NE(text.find("\r\rIt is recommended for use on computers with at least 16 GB of memory, in a 64-bit Windows "
                        "environment.\r\r"),
              std::string::npos);
    EXPECT_NE(text.find("\r\rGood luck To all.\r"), std::string::npos);
    EXPECT_NE(text.find("https://example.org\r\rFree memory 1.23 GB"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 19), "Free memory 1.23 GB");
}

TEST(AboutText, free_memory_comes_from_the_system)
{
    EXPECT_GT(help::freePhysicalMemoryBytes(), 0u);
}
