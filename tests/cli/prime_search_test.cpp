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
    std::string number(60, '0');
    number[0] = '1';
    // One number with white space around it, as editors and echo leave it;
    // a byte-order mark before it is an editor's too.
    const std::string file = directory.write("n.txt", "\xEF\xBB\xBF  " + number + "\r\n");
    const std::string expected = gmpNextPrime(number);
    EXPECT_EQ(onlyLine(runCli({"next-prime", "@" + file})), expected);
    EXPECT_EQ(onlyLine(runCli({"next-prime", "-"}, {std::string("\n\t").append(number).append("\n")})), expected);
}

TEST(CliPrimeSearch, every_layout_of_ranks_and_threads_finds_the_same_prime)
{
    // 600 digits: a few dozen rounds of tests to a prime, so the answer
    // depends on the ranks agreeing on the lowest survivor that passed.
    std::string start(600, '1');
    start[0] = '3';
    const std::string next = gmpNextPrime(start);
    const std::string previous = enginePreviousPrime(start);
    struct Layout {
        int ranks;  // 0: run alone, without mpirun
        std::vector<std::string> threads;
        bool down;  // prev-prime too
    };
    const std::vector<Layout> layouts = {
        {0, {}, true},  {0, {"--threads", "1"}, false}, {0, {"--threads", "2"}, false}, {1, {"--threads", "2"}, false},
        {2, {}, true},  {2, {"--threads", "2"}, true},   {3, {}, true},
    };
    for (const Layout& layout : layouts) {
        for (const auto& [command, expected] : {std::pair{"next-prime", next}, std::pair{"prev-prime", previous}}) {
            if (command == std::string("prev-prime") && !layout.down)
                continue;
            std::vector<std::string> arguments = {command, start, "-q"};
            arguments.insert(arguments.end(), layout.threads.begin(), layout.threads.end());
            const CliRun run = layout.ranks ? runCliOnRanks(layout.ranks, arguments) : runCli(arguments);
            const std::string trace = std::string(command) + " on " + std::to_string(layout.ranks) + " ranks " +
                                      (layout.threads.empty() ? "" : layout.threads[1] + " threads");
            EXPECT_EQ(run.status, 0) << trace << run.err;
            EXPECT_EQ(onlyLine(run), expected) << trace;
        }
    }

    // Only rank 0 has the standard input: the number reaches the others from it.
    RunOptions piped;
    piped.standardInput = start + "\n";
    EXPECT_EQ(onlyLine(runCliOnRanks(2, {"next-prime", "-", "-q"}, piped)), next);
}

TEST(CliPrimeSearch, a_search_shows_its_counts_on_standard_error_unless_quiet)
{
    // Every update is "long" with a period of 0 seconds.
    RunOptions everyUpdate;
    everyUpdate.environment = {"QUENDROLT_PROGRESS_SECONDS=0"};
    std::string start(1000, '3');
    start[0] = '7';
    const std::string expected = gmpNextPrime(start);
    struct Case {
        int ranks;
        std::vector<std::string> arguments;
        bool shown;
    };
    const std::vector<Case> cases = {
        {0, {"next-prime", start}, true},
        {2, {"next-prime", start}, true},
        {0, {"next-prime", start, "-q"}, false},
        {2, {"next-prime", start, "-q"}, false},
        {0, {"next-prime", start, "--json"}, true},
    };
    for (const Case& c : cases) {
        const CliRun run = c.ranks ? runCliOnRanks(c.ranks, c.arguments, everyUpdate) : runCli(c.arguments, everyUpdate);
        const std::string trace = std::to_string(c.ranks) + " ranks " + c.arguments.back();
        ASSERT_EQ(run.status, 0) << trace << run.err;
        const bool shown = run.err.find(" sieved, ") != std::string::npos &&
                           run.err.find(" tested, ") != std::string::npos &&
                           run.err.find("a prime expected in about ") != std::string::npos;
        EXPECT_EQ(shown, c.shown) << trace << run.err;
        if (!c.shown) {
            EXPECT_EQ(run.err, "") << trace;
        }
        // Standard output holds the answer alone, whatever standard error shows.
        EXPECT_EQ(run.out.find("tested"), std::string::npos) << trace;
        if (c.arguments.back() == "--json") {
            EXPECT_EQ(lines(run.out).size(), 1u) << run.out;
            EXPECT_NE(run.out.find('"' + expected + '"'), std::string::npos) << run.out;
        } else
            EXPECT_EQ(onlyLine(run), expected) << trace;
    }
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
