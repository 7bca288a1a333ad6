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
