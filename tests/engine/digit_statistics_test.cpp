// Digit statistics scans and digit position lines, without a window.
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "engine/digit_positions.h"
#include "engine/digit_statistics.h"

using namespace engine;

namespace {

std::string row(int digit, int64_t count, int64_t delay, int64_t minimum, int64_t maximum)
{
    char text[80];
    std::snprintf(text, sizeof text, "  %d%18lld%10lld%10lld%10lld", digit, static_cast<long long>(count),
                  static_cast<long long>(delay), static_cast<long long>(minimum), static_cast<long long>(maximum));
    return text;
}

}  // namespace

TEST(DigitStatistics, forward_scan_of_1123581321_counts_four_ones_and_shows_the_adjacent_pair_as_minimum_0)
{
    const std::string number = "1123581321";
    const Segment segment = clampSegment(1, 10, 10);
    const DigitTable t = scanDigits(number, segment, ScanDirection::Forward);
    EXPECT_EQ(t.count[1], 4);
    EXPECT_EQ(t.minimumGap[1], -1) << "positions 1 and 2 are adjacent";
    EXPECT_EQ(t.maximumGap[1], 3) << "positions 2 and 7 have four digits between them";

    const std::vector<std::string> rows = digitTableRows(t, segment.end);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[1], row(1, 4, 0, 0, 3));
    EXPECT_EQ(rows[0], row(0, 0, 10, 10, 0)) << "a digit that never occurs: Delay = E, Minimum = n";
    EXPECT_EQ(rows[5], row(5, 1, 5, 10, 0)) << "a digit that occurs once: Minimum = n, Maximum 0";
    EXPECT_EQ(rows[2], row(2, 2, 1, 4, 4));
    EXPECT_EQ(digitTotalLine(t), "Total" + std::string(14, ' ') + "10");
    EXPECT_EQ(segmentLine(segment), "Segment analyzed from digit 1 to 10 (9)");
}

TEST(DigitStatistics, backward_scan_reads_the_segment_from_its_end)
{
    const std::string number = "1123581321";  // backwards: 1231853211
    const DigitTable t = scanDigits(number, {1, 10}, ScanDirection::Backward);
    EXPECT_EQ(t.count[1], 4);
    EXPECT_EQ(t.last[1], 10);
    EXPECT_EQ(t.minimumGap[1], -1);
    EXPECT_EQ(t.maximumGap[1], 3);
    EXPECT_EQ(t.last[8], 5);
    EXPECT_EQ(t.last[3], 7);
}

TEST(DigitStatistics, end_before_start_visits_nothing_and_keeps_minimum_at_n)
{
    const std::string number = "1123581321";
    const Segment segment = clampSegment(5, 3, 10);
    const DigitTable t = scanDigits(number, segment, ScanDirection::Forward);
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(t.count[d], 0);
        EXPECT_EQ(t.minimumGap[d], -1) << "n = E - S + 1";
    }
    EXPECT_EQ(segmentLine(segment), "Segment analyzed from digit 5 to 3 (-2)");
    EXPECT_EQ(digitTableRows(t, 3)[7], row(7, 0, 3, 0, 0));
}

TEST(DigitStatistics, segment_beyond_the_number_is_clamped_to_its_characters)
{
    const std::string number = "12345";
    struct Case {
        int64_t start, end, clampedStart, clampedEnd;
    } cases[] = {{-4, 99, 1, 5}, {0, 3, 1, 3}, {2, 5, 2, 5}, {6, 5, 6, 5}, {9, 20, 9, 5}};
    for (const Case& c : cases) {
        const Segment s = clampSegment(c.start, c.end, 5);
        EXPECT_EQ(s.start, c.clampedStart);
        EXPECT_EQ(s.end, c.clampedEnd);
        const DigitTable t = scanDigits(number, s, ScanDirection::Backward);
        int64_t total = 0;
        for (int64_t n : t.count)
            total += n;
        EXPECT_EQ(total, std::max<int64_t>(0, s.end - s.start + 1));
    }
}

TEST(DigitStatistics, characters_that_are_not_digits_take_a_step_but_count_nothing)
{
    const DigitTable t = scanDigits("-1-1", {1, 4}, ScanDirection::Forward);
    EXPECT_EQ(t.count[1], 2);
    EXPECT_EQ(t.maximumGap[1], 0) << "one character between them: gap 0";
    EXPECT_EQ(t.minimumGap[1], 4) << "a gap of 0 never lowers the minimum";
}

TEST(DigitStatistics, right_alignment_pads_left_and_keeps_the_first_characters_of_a_long_value)
{
    EXPECT_EQ(rightAligned(42, 6), "    42");
    EXPECT_EQ(rightAligned(12345678901, 10), "1234567890");
    EXPECT_EQ(rightAligned(-5, 3), " -5");
}

TEST(DigitPositions, lines_list_first_positions_and_last_distances)
{
    struct Case {
        const char* number;
        int64_t digit;
        int64_t limit;
        const char* line;
    } cases[] = {
        {"1021001", 1, 50, "D1: 3 42.85714% F: 1 4 7  L: 7 4 1 "},
        {"1021001", 0, 2, "D0: 3 42.85714% F: 2 5  L: 3 2 "},
        {"1021001", 9, 50, "D9: 0 0.00000% F:  L: "},
        {"1021001", 12, 50, "D12: 0 0.00000% F:  L: "},
        {"1021001", 1, 0, "D1: 3 42.85714% F: 1 4 7  L: 7 4 1 "},
        {"", 1, 50, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(digitPositionLine(c.number, c.digit, c.limit), c.line) << c.number << " digit " << c.digit;
}

TEST(DigitPositions, lists_are_cut_to_seventy_characters)
{
    const std::string number(1000, '7');
    const std::string line = digitPositionLine(number, 7, 1000);
    const std::string first = "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 ";
    const std::string last = "1000 999 998 997 996 995 994 993 992 991 990 989 988 987 986 985 984 98";
    EXPECT_EQ(line, "D7: 1000 100.00000% F: " + first.substr(0, 70) + " L: " + last.substr(0, 70));
}

TEST(DigitPositions, a_limit_outside_one_to_a_thousand_means_a_thousand)
{
    EXPECT_EQ(positionLimit(0), 1000);
    EXPECT_EQ(positionLimit(-3), 1000);
    EXPECT_EQ(positionLimit(1001), 1000);
    EXPECT_EQ(positionLimit(1), 1);
    EXPECT_EQ(positionLimit(1000), 1000);
}

// A segment end typed as a huge negative number arrives saturated; the scan
// must see an empty segment, not a length that wrapped around.
TEST(DigitStatistics, ends_far_below_the_start_give_an_empty_segment_without_overflow)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    const std::string number = "1123581321";
    const Segment segments[] = {{3, -kMax}, {3, std::numeric_limits<int64_t>::min()}, {kMax, 1}, {kMax, -kMax}};
    for (const Segment& typed : segments) {
        SCOPED_TRACE(std::to_string(typed.start) + ".." + std::to_string(typed.end));
        const Segment segment = clampSegment(typed.start, typed.end, 10);
        for (ScanDirection direction : {ScanDirection::Forward, ScanDirection::Backward}) {
            const DigitTable t = scanDigits(number, segment, direction);
            EXPECT_EQ(digitTotalLine(t), "Total" + std::string(15, ' ') + "0");
            EXPECT_EQ(t.last, (std::array<int64_t, 10>{}));
            (void)digitTableRows(t, segment.end);
        }
        EXPECT_TRUE(segmentLine(segment).starts_with("Segment analyzed from digit "));
    }
}

// The character looked for is '0' + digit: for the largest answers that sum
// must not be formed at all (a sanitizer build reports the overflow).
TEST(DigitPositions, a_digit_beyond_any_byte_matches_nothing)
{
    for (int64_t digit : {int64_t{-49}, int64_t{206}, std::numeric_limits<int64_t>::max(), -std::numeric_limits<int64_t>::max()})
    {
        std::string expected(1, 'D');  // (built in steps: GCC 12 warns falsely on "D" + text here)
        expected.append(std::to_string(digit)).append(": 0 0.00000% F:  L: ");
        EXPECT_EQ(digitPositionLine("1021001", digit, 5), expected) << digit;
    }
}
