// next-prime and prev-prime give GMP's and the engine's primes, alone and
// spread over MPI ranks; random-prime is reproducible from its seed.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "engine/decimal_text.h"
#include "engine/prime_search.h"

using namespace cli_test;

namespace {

std::string gmpNextPrime(const std::string& start)
{
    engine::BigInt n;
    engine::setFromDecimal(n, start);
    mpz_nextprime(n.get(), n.get());
    return engine::toDecimal(n);
}

std::string enginePreviousPrime(const std::string& start)
{
    engine::BigInt n;
    engine::setFromDecimal(n, start);
    engine::previousPrime(n);
    return engine::toDecimal(n);
}

// Starts on both sides of the 64-bit switch from GMP's routines to the sieve.
std::vector<std::string> starts()
{
    return {"100", "18446744073709551557", "18446744073709551616", std::string("1").append(99, '0'),
            std::string("1").append(400, '0').append("7")};
}

std::string onlyLine(const CliRun& run)
{
    std::vector<std::string> out = lines(run.out);
    return out.size() == 1 ? out[0] : "<" + run.out + ">";
}

}  // namespace

TEST(CliPrimeSearch, next_prime_is_gmps_and_prev_prime_is_the_engines)
{
    for (const std::string& start : starts()) {
        CliRun next = runCli({"next-prime", start});
        EXPECT_EQ(next.status, 0) << start << next.err;
        EXPECT_EQ(onlyLine(next), gmpNextPrime(start)) << start;
        CliRun previous = runCli({"prev-prime", start});
        EXPECT_EQ(previous.status, 0) << start << previous.err;
        EXPECT_EQ(onlyLine(previous), enginePreviousPrime(start)) << start;
    }
}

TEST(CliPrimeSearch, number_from_a_file_and_from_standard_input_as_typed)
{
    TemporaryDirectory directory;
    const std::string number = "1" + std::string(59, '0');
    // One number with white space around it, as editors and echo leave it;
    // a byte-order mark before it is an editor's too.
    const std::string file = directory.write("n.txt", "\xEF\xBB\xBF  " + number + "\r\n");
    const std::string expected = gmpNextPrime(number);
    EXPECT_EQ(onlyLine(runCli({"next-prime", "@" + file})), expected);
    EXPECT_EQ(onlyLine(runCli({"next-prime", "-"}, {"\n\t" + number + "\n"})), expected);
}

TEST(CliPrimeSearch, ranks_agree_with_one_process_and_with_gmp)
{
    // 600 digits: a dozen blocks to a prime, so the answer depends on the ranks
    // agreeing on the lowest block that holds one.
    const std::string start = "3" + std::string(599, '1');
    const std::string expected = gmpNextPrime(start);
    CliRun alone = runCli({"next-prime", start, "-q"});
    CliRun spread = runCliOnRanks(3, {"next-prime", start, "-q"});
    EXPECT_EQ(spread.status, 0) << spread.err;
    EXPECT_EQ(onlyLine(alone), expected);
    EXPECT_EQ(onlyLine(spread), expected);

    // Only rank 0 has the standard input: the number reaches the others from it.
    RunOptions piped;
    piped.standardInput = start + "\n";
    EXPECT_EQ(onlyLine(runCliOnRanks(2, {"next-prime", "-", "-q"}, piped)), expected);

    CliRun down = runCliOnRanks(3, {"prev-prime", start, "-q"});
    EXPECT_EQ(down.status, 0) << down.err;
    EXPECT_EQ(onlyLine(down), enginePreviousPrime(start));
}

TEST(CliPrimeSearch, a_rank_that_dies_ends_the_run_with_an_error_and_no_answer)
{
    RunOptions killRank;
    killRank.killOneChildAfter = std::chrono::milliseconds(2500);
    // Long enough that the ranks are still searching when one is killed.
    CliRun run = runCliOnRanks(2, {"next-prime", "1" + std::string(20000, '0'), "-q"}, killRank);
    EXPECT_NE(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(CliPrimeSearch, random_prime_with_a_seed_repeats_and_keeps_the_digit_choices)
{
    const std::vector<std::string> arguments = {"random-prime", "--digits", "300", "--seed", "42",     "--count",
                                                "2",           "--final-digits", "7", "--start-digits", "9", "-q"};
    CliRun first = runCli(arguments);
    CliRun second = runCli(arguments);
    CliRun spread = runCliOnRanks(2, arguments);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(spread.out, first.out) << spread.err;
    std::vector<std::string> primes = lines(first.out);
    ASSERT_EQ(primes.size(), 2u);
    EXPECT_NE(primes[0], primes[1]);
    for (const std::string& prime : primes) {
        EXPECT_EQ(prime.size(), 300u);
        EXPECT_EQ(prime.front(), '9');
        // The search from a candidate ending in 7 moves up by a few units.
        engine::BigInt n;
        engine::setFromDecimal(n, prime);
        EXPECT_GT(mpz_probab_prime_p(n.get(), 25), 0) << prime;
    }
    EXPECT_NE(runCli({"random-prime", "--digits", "300", "--seed", "43", "-q"}).out, primes[0] + "\n");
}

TEST(CliPrimeSearch, random_prime_without_a_seed_shows_the_seed_that_repeats_it)
{
    CliRun first = runCli({"random-prime", "--digits", "40", "-q"});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string marker = "random-prime: seed ";
    const size_t at = first.err.find(marker);
    ASSERT_NE(at, std::string::npos) << first.err;
    const std::string seed = first.err.substr(at + marker.size(), first.err.find(' ', at + marker.size()) - at - marker.size());
    CliRun again = runCli({"random-prime", "--digits", "40", "--seed", seed, "-q"});
    EXPECT_EQ(again.out, first.out) << seed;
    EXPECT_EQ(again.err, "") << "a seed given is not shown again";
}

TEST(CliPrimeSearch, random_prime_never_starts_with_a_digit_left_out)
{
    // Three digits: the smallest size, where a leading 0 would show at once.
    CliRun run = runCli({"random-prime", "--digits", "3", "--count", "20", "--seed", "5", "--start-digits", "19", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> primes = lines(run.out);
    ASSERT_EQ(primes.size(), 20u);
    for (const std::string& prime : primes) {
        EXPECT_EQ(prime.size(), 3u) << prime;
        EXPECT_TRUE(prime[0] == '1' || prime[0] == '9') << prime;
    }
}

TEST(CliPrimeSearch, iconic_prime_is_the_repeated_digit_and_a_short_tail)
{
    CliRun run = runCli({"random-prime", "--digits", "60", "--iconic", "8", "--seed", "7", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string prime = onlyLine(run);
    ASSERT_EQ(prime.size(), 60u);
    EXPECT_EQ(prime.substr(0, 40), std::string(40, '8'));
}
