// factor: trial division as Fact, then ECM; every factor comes out marked.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "engine/decimal_text.h"

using namespace cli_test;

namespace {

std::string nextPrimeText(const std::string& start)
{
    engine::BigInt n;
    engine::setFromDecimal(n, start);
    mpz_nextprime(n.get(), n.get());
    return engine::toDecimal(n);
}

std::string product(const std::string& a, const std::string& b)
{
    engine::BigInt x, y;
    engine::setFromDecimal(x, a);
    engine::setFromDecimal(y, b);
    mpz_mul(x.get(), x.get(), y.get());
    return engine::toDecimal(x);
}

}  // namespace

TEST(CliFactor, semiprime_of_two_20_digit_primes_splits_into_both)
{
    const std::string p = nextPrimeText("31415926535897932384");
    const std::string q = nextPrimeText("27182818284590452353");
    CliRun run = runCli({"factor", product(p, q), "--timeout", "120", "-q"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{q + " prime", p + " prime"}));
}

TEST(CliFactor, small_factors_come_from_trial_division_and_repeat)
{
    CliRun run = runCli({"factor", "7207200", "-q"});  // 2^5 3^2 5^2 7 11 13
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{"2 prime", "2 prime", "2 prime", "2 prime", "2 prime", "3 prime",
                                                       "3 prime", "5 prime", "5 prime", "7 prime", "11 prime",
                                                       "13 prime"}));
}

TEST(CliFactor, budget_too_small_leaves_the_cofactor_marked_composite)
{
    // Two 40-digit primes: one curve at the lowest level cannot split them.
    const std::string p = nextPrimeText("1" + std::string(39, '0'));
    const std::string q = nextPrimeText("3" + std::string(39, '0'));
    const std::string n = product(p, q);
    CliRun hard = runCli({"factor", n, "--curves", "1", "--json", "-q"});
    EXPECT_EQ(hard.status, 1) << hard.err;
    EXPECT_NE(hard.out.find("{\"value\":\"" + n + "\",\"prime\":false}"), std::string::npos) << hard.out;
    EXPECT_NE(hard.out.find("\"complete\":false"), std::string::npos);
}

// The time budget holds for every stage: trial division stops at the
// deadline, and a probable-prime test that would take minutes (30,000
// digits) or hours (1,000,000) is ended there. What was found is printed, and
// the part left untested is called unknown, never composite or prime.
TEST(CliFactor, the_budget_ends_every_stage_and_leaves_the_untested_part_unknown)
{
    TemporaryDirectory directory;
    struct Case {
        std::string number;
        const char* smallestFactor;
    };
    // 10^k + 1 for odd k is divisible by 11, and by 7 too when k is an odd
    // multiple of 3: small factors first, then a large remainder.
    const std::string thirtyThousand = "1" + std::string(29'998, '0') + "1";
    const std::string million = "1" + std::string(999'998, '0') + "1";
    for (const Case& c : {Case{thirtyThousand, "11"}, Case{million, "7"}}) {
        const std::string file = directory.write("n.txt", c.number);
        CliRun run = runCli({"factor", "@" + file, "--timeout", "1"});
        EXPECT_EQ(run.status, 5) << c.number.size() << " digits: " << run.err;
        const std::vector<std::string> out = lines(run.out);
        ASSERT_GE(out.size(), 2u) << run.out.substr(0, 200);
        EXPECT_EQ(out.front(), std::string(c.smallestFactor) + " prime");
        EXPECT_TRUE(out.back().ends_with(" unknown")) << out.back().substr(out.back().size() - 40);
        EXPECT_NE(run.err.find("factor: trial division"), std::string::npos) << run.err;
    }
}

// Ctrl+C, SIGTERM or SIGHUP during a stage that runs as a worker process
// ends the run with status 3 and leaves no worker behind.
TEST(CliFactor, an_interrupt_ends_the_worker_process_too)
{
    TemporaryDirectory directory;
    const std::string file = directory.write("interrupted-factor.txt", "1" + std::string(29'998, '0') + "3");
    RunOptions options;
    options.interruptAfter = std::chrono::milliseconds(2500);
    options.interruptSignal = SIGTERM;
    CliRun run = runCli({"factor", "@" + file, "--timeout", "600"}, options);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(processesWith(file), std::vector<int>{}) << "a worker outlived the run";
}
