// The test command's verdicts by size, and Ctrl+C of a long run.
#include <gtest/gtest.h>

#include "cli_runner.h"

using namespace cli_test;

TEST(CliTest, verdict_words_and_exit_status_follow_the_windows_check)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string line;
        int status;
    };
    // 10^3000 + 1 is divisible by 7 * 11 * 13: the first check rejects it.
    const std::string large = "1" + std::string(2999, '0') + "1";
    const std::vector<Case> cases = {
        {{"test", "1000000007"}, "1000000007: Is prime", 0},
        {{"test", "1000000008"}, "1000000008: NOT prime", 1},
        {{"test", "170141183460469231731687303715884105727"}, "170141183460469231731687303715884105727: It could be a prime", 0},
        {{"test", large, "--large-start", "3000", "--short"},
         "1000000000000000000000000000000000000000...0000000000000000000000000000000000000001: Definitely not a prime number",
         1},
    };
    for (const Case& c : cases) {
        CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.out, c.line + "\n");
        EXPECT_EQ(run.status, c.status) << c.line << run.err;
    }
}

TEST(CliInterrupt, ctrl_c_sigterm_and_sighup_end_a_long_search_at_once_with_status_3_and_no_answer)
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        RunOptions options;
        options.interruptAfter = std::chrono::milliseconds(1500);
        options.interruptSignal = signal;
        // The next prime after a 30,000-digit number takes minutes on one core.
        CliRun run = runCli({"next-prime", "1" + std::string(29999, '0'), "--json"}, options);
        EXPECT_EQ(run.status, 3) << "signal " << signal << run.err;
        EXPECT_EQ(run.out, "{\"command\":\"next-prime\",\"error\":\"interrupted\",\"exit_status\":3}\n");
        EXPECT_NE(run.err.find("interrupted"), std::string::npos);
    }
}
