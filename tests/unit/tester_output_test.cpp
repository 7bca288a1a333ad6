#include "engine/tester_output.h"

#include <gtest/gtest.h>

#include "engine/tester_process.h"
#include "ui/test_modes.h"

using namespace engine;

TEST(TesterOutput, result_lines_are_those_with_a_recognised_keyword)
{
    for (const char* line : {"123 is 3-PRP! (0.1s+0.0s)", "is 2-PRP!", "x is 5-PRP!", "2^127-1 is PRP! proven",
                             "1234 is composite: RES64: [0123456789ABCDEF]", "12345 has no small factor.",
                             "1000 has factors: 2*5"})
        EXPECT_TRUE(isResultLine(line)) << line;
    for (const char* line : {"", "12345 trial factoring to 1000000", "is 3-prp!", "Recognized ABC Sequence"})
        EXPECT_FALSE(isResultLine(line)) << line;
}

TEST(TesterOutput, summary_keeps_the_text_from_a_keyword_that_follows_a_blank)
{
    struct Case { const char* line; const char* summary; };
    for (Case c : {
             Case{"1234567 is 3-PRP! (0.0012s+0.0003s)", "is 3-PRP! (0.0012s+0.0003s)"},
             Case{"is 3-PRP! (0.0012s+0.0003s)", "is 3-PRP! (0.0012s+0.0003s)"},
             Case{"1234567 is 5-PRP! (0.01s+0.00s)", "1234567 is 5-PRP! (0.01s+0.00s)"},
             Case{"2^127-1 is PRP! (proven prime)", "2^127-1 is PRP! (proven prime)"},
             Case{"1234 is composite: RES64: [AB]", "is composite: RES64: [AB]"},
             Case{"12345 has no small factor.", "has no small factor."},
             Case{"1000 has factors: 2*5", "has factors: 2*5"},
             Case{"1000 trial factoring to 1000000", "trial factoring to 1000000"},
             Case{"nothing known", "nothing known"},
         })
        EXPECT_EQ(summariseResultLine(c.line), c.summary) << c.line;
}

TEST(TesterOutput, verdict_takes_the_last_matching_test_and_is_not_done_without_one)
{
    using engine::Verdict;
    struct Case { const char* line; Verdict verdict; };
    for (Case c : {
             Case{"1234567 is 3-PRP! (0.1s+0.0s)", Verdict::CouldBePrime},
             Case{"1234567 is 2-PRP!", Verdict::CouldBePrime},
             Case{"1234567 is 5-PRP!", Verdict::CouldBePrime},
             Case{"M127 is PRP!", Verdict::CouldBePrime},
             Case{"12345 has no small factor.", Verdict::PossiblePrime},
             Case{"1234 is composite: RES64: [AB]", Verdict::IsComposite},
             Case{"1000 has factors: 2*5", Verdict::IsComposite},
             Case{"has factors: 2*5", Verdict::NotDone},  // no blank before the keyword
             Case{"", Verdict::NotDone},
         })
        EXPECT_EQ(verdictFromResultLine(c.line), c.verdict) << c.line;
}

TEST(TesterOutput, output_lines_lose_carriage_returns_and_outer_blanks)
{
    EXPECT_EQ(cleanOutputLine("  12 is 3-PRP! \r\n"), "12 is 3-PRP!");
    EXPECT_EQ(cleanOutputLine("\r"), "");
    EXPECT_EQ(cleanOutputLine("a\rb"), "ab");
}

TEST(TesterArguments, switches_of_each_test_mode_then_the_path_as_one_word)
{
    const std::string path = "/home/some user/run dir/last_PRP.txt";
    struct Case { int mode; std::vector<std::string> words; };
    for (const Case& c : {
             Case{0, {"-k", "-T4", "-o", "-f"}},
             Case{1, {"-k", "-T4", "-f0"}},
             Case{2, {"-k", "-T4", "-f", "-s0"}},
             Case{3, {"-k", "-T4", "-o", "-f1000", "-s0"}},
             Case{4, {"-k", "-T4", "-f0", "-b2"}},
             Case{5, {"-k", "-T4", "-f0", "-b3"}},
             Case{6, {"-k", "-T4", "-f0", "-b5"}},
             Case{7, {"-k", "-T4", "-f0", "-b2", "-b3"}},
             Case{8, {"-k", "-T4", "-tm"}},
             Case{9, {"-k", "-T4", "-o", "-f1000", "-d", "-s0"}},
             Case{10, {"-k", "-T4"}},
         })
    {
        std::vector<std::string> expected = c.words;
        expected.push_back(path);
        EXPECT_EQ(testerArguments(ui::testModeSwitches(c.mode), path), expected) << c.mode;
    }
}

TEST(TesterOutput, progress_lines_become_percent_and_time_left)
{
    struct Case { const char* line; std::optional<std::string> summary; };
    for (const Case& c : {
             Case{"PRP test to base 3: 41.7% done, 1234 steps/s, 1m12s left", "PRP 41.7%, 1m12s left"},
             Case{"Lucas-Lehmer test of 2^86243-1: 3.0% done, 812 steps/s, 1h02m left", "LL 3.0%, 1h02m left"},
             Case{"Trial factoring: 3 of 8 ranges done", std::nullopt},
             Case{"Jacobi check failed at iteration 5: redoing", std::nullopt},
             Case{"", std::nullopt},
         })
        EXPECT_EQ(progressSummary(c.line), c.summary) << c.line;
}
