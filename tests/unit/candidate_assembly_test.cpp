// Assembly of generation candidates: where each draw lands, the signature
// block, iconic prefixes and tails, and the mode and bound rules of a run.
#include <gtest/gtest.h>

#include "engine/generation_rules.h"
#include "engine/iconic_candidate.h"
#include "engine/random_candidate.h"
#include "engine/signature_block.h"
#include "generator/stage_allowance.h"
#include "unit/scripted_random.h"

using namespace generator;
using namespace engine;

namespace {

constexpr int64_t kNine = 999'999'999;
const DigitChoices kDefaultDigits{"123456789", "1379"};
using Range = std::pair<int64_t, int64_t>;

}  // namespace

TEST(RandomCandidate, nine_digits_keep_seven_digits_of_the_one_full_draw)
{
    ScriptedRandom random({2, 123456789, 3});
    EXPECT_EQ(buildRandomCandidate(random, 9, kDefaultDigits), "312345679");
    EXPECT_EQ(random.ranges, (std::vector<Range>{{0, 8}, {0, kNine}, {0, 3}}));
}

TEST(RandomCandidate, ten_digits_draw_twice_and_keep_eight_digits_of_the_first)
{
    ScriptedRandom random({0, 123456789, 987654321, 0});
    EXPECT_EQ(buildRandomCandidate(random, 10, kDefaultDigits), "1123456781");
    EXPECT_EQ(random.ranges, (std::vector<Range>{{0, 8}, {0, kNine}, {0, kNine}, {0, 3}}));
}

TEST(RandomCandidate, partial_draw_supplies_its_leading_digits_and_draws_keep_leading_zeros)
{
    // n = 21: two full draws and one partial draw of which one digit is kept.
    ScriptedRandom random({8, 42, 7, 912345678, 1});
    std::string candidate = buildRandomCandidate(random, 21, kDefaultDigits);
    EXPECT_EQ(candidate, "9000000042000000007" "9" "3");
    EXPECT_EQ(random.ranges.size(), 5u);
}

TEST(RandomCandidate, single_start_and_final_digit_still_cost_one_draw_each)
{
    ScriptedRandom random;
    std::string candidate = buildRandomCandidate(random, 12, DigitChoices{"0", "7"});
    EXPECT_EQ(candidate, "000000000007");
    EXPECT_EQ(random.ranges.front(), (Range{0, 0}));
    EXPECT_EQ(random.ranges.back(), (Range{0, 0}));
    EXPECT_EQ(random.ranges.size(), 4u);
}

TEST(RandomCandidate, signature_block_overwrites_the_digits_after_the_first)
{
    std::string block = encodeSignature(u"abcd");
    ScriptedRandom random({4, 111111111, 222222222, 333333333, 2});
    std::string candidate = buildRandomCandidate(random, 25, kDefaultDigits, block);
    ASSERT_EQ(candidate.size(), 25u);
    EXPECT_EQ(candidate, "5" + block + "33333" "7");
}

TEST(SignatureBlock, four_characters_fit_from_25_digits_but_not_in_24)
{
    EXPECT_TRUE(signatureFits(4, 25));
    EXPECT_FALSE(signatureFits(4, 24));
    EXPECT_FALSE(signatureFits(0, 1000));
}

TEST(SignatureBlock, accented_letters_encode_like_their_base_letters)
{
    EXPECT_EQ(encodeSignature(u"A\u00e7\u00e3o"), "124065099097111124");
    EXPECT_EQ(encodeSignature(u"A\u00e7\u00e3o"), encodeSignature(u"Acao"));
    EXPECT_EQ(encodeSignature(u"\u00c0\u00c5\u00d1\u00dd\u00fd"), "124" "065" "065" "078" "089" "121" "124");
}

TEST(SignatureBlock, characters_outside_the_printable_range_are_dropped)
{
    EXPECT_EQ(encodeSignature(u"\u0007\u0100\u00ff"), "124124");
    EXPECT_EQ(encodeSignature(u" ~"), "124032126124");
}

TEST(SignatureBlock, folding_table_covers_its_ranges_and_nothing_else)
{
    const std::pair<char16_t, char16_t> folds[] = {{192, u'A'}, {197, u'A'}, {198, 198}, {199, u'C'}, {203, u'E'},
                                                   {208, 208},  {209, u'N'}, {214, u'O'}, {215, 215}, {216, 216},
                                                   {220, u'U'}, {221, u'Y'}, {224, u'a'}, {231, u'c'}, {239, u'i'},
                                                   {240, 240},  {241, u'n'}, {246, u'o'}, {247, 247}, {252, u'u'},
                                                   {253, u'y'}, {254, 254},  {255, 255},  {u'z', u'z'}};
    for (auto [code, folded] : folds)
        EXPECT_EQ(foldLatin1(code), folded) << int(code);
}

TEST(IconicCandidate, tail_width_follows_the_digits_of_n_times_2_303)
{
    const std::pair<int64_t, int> widths[] = {{10, 2}, {43, 2}, {44, 3}, {1000, 4}, {4342, 4}, {4343, 5}, {10000, 5}};
    for (auto [n, width] : widths)
        EXPECT_EQ(iconicTailWidth(n), width) << n;
}

TEST(IconicCandidate, digit_zero_starts_its_prefix_with_a_one)
{
    IconicCandidates iconic(10, '0', "1379");
    EXPECT_EQ(iconic.prefix(), "10000000");
    EXPECT_EQ(iconic.tailMaximum(), 9);
    ScriptedRandom random({5, 2});
    EXPECT_EQ(iconic.next(random), "1000000057");
    EXPECT_EQ(random.ranges, (std::vector<Range>{{1, 9}, {0, 3}}));
}

TEST(IconicCandidate, short_tail_is_padded_with_zeros_to_the_tail_width)
{
    IconicCandidates iconic(1000, '3', "1379");
    EXPECT_EQ(iconic.tailWidth(), 4);
    EXPECT_EQ(iconic.tailMaximum(), 999);
    ScriptedRandom random({5, 2});
    std::optional<std::string> candidate = iconic.next(random);
    ASSERT_TRUE(candidate);
    EXPECT_EQ(candidate->size(), 1000u);
    EXPECT_EQ(candidate->substr(0, 996), std::string(996, '3'));
    EXPECT_EQ(candidate->substr(996), "0057");
}

TEST(IconicCandidate, tail_drawn_again_counts_a_duplicate_and_gives_no_candidate)
{
    IconicCandidates iconic(10, '1', "1379");
    ScriptedRandom random({4, 1, 4, 1, 4, 2});
    EXPECT_EQ(iconic.next(random), "1111111143");
    EXPECT_EQ(iconic.next(random), std::nullopt);
    EXPECT_EQ(iconic.duplicates(), 1);
    EXPECT_EQ(iconic.next(random), "1111111147");
    EXPECT_EQ(iconic.duplicates(), 1);
}

TEST(IconicCandidate, run_is_exhausted_once_every_tail_has_been_tried)
{
    IconicCandidates iconic(10, '7', "9");
    ScriptedRandom random({1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0});
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(iconic.next(random));
    EXPECT_FALSE(iconic.exhausted());
    ScriptedRandom last({9, 0});
    ASSERT_TRUE(iconic.next(last));
    EXPECT_TRUE(iconic.exhausted());
}

TEST(IconicCandidate, eight_and_nine_search_downwards)
{
    for (char digit = '0'; digit <= '9'; ++digit)
        EXPECT_EQ(IconicCandidates(10, digit, "1").searchesDownwards(), digit >= '8') << digit;
}

TEST(GenerationMode, digit_count_chooses_the_mode)
{
    struct Case {
        int64_t n;
        bool iconic;
        int64_t largeStart;
        GenerationMode mode;
    };
    const Case cases[] = {
        {7000, false, 7000, GenerationMode::Small},   {7001, false, 7000, GenerationMode::Medium},
        {77999, false, 7000, GenerationMode::Medium}, {78000, false, 7000, GenerationMode::Large},
        {78000, false, 80000, GenerationMode::Small}, {80001, false, 80000, GenerationMode::Large},
        {3, true, 7000, GenerationMode::Iconic},      {100000, true, 7000, GenerationMode::Iconic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseMode(c.n, c.iconic, c.largeStart), c.mode) << c.n << " " << c.largeStart;
}

TEST(StageAllowance, size_estimate_grows_with_n_within_its_bounds)
{
    const std::pair<int64_t, int64_t> estimates[] = {
        {1111, 20000}, {1'000'000, 20000}, {30'000'000, 137100}, {78'000'000, 300000}, {10'000'000, 5 * (2120 + 7100)}};
    for (auto [n, ms] : estimates)
        EXPECT_EQ(sizeEstimateMs(n), ms) << n;
}

TEST(StageAllowance, allowance_beyond_the_internal_limit_becomes_the_limit_plus_five_seconds)
{
    EXPECT_EQ(stageAllowanceMs(30'000'000, 864'000'000), 8 * 137100);
    EXPECT_EQ(stageAllowanceMs(1111, 60'000), 65'000);
    EXPECT_EQ(stageAllowanceMs(1111, 160'000), 160'000);
}
