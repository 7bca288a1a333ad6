// quendrolt-cli: the engine's searches, tests, factoring and statistics from
// a shell, one subcommand each. See docs/quendrolt-cli.1.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/interrupt.h"
#include "cli/number_input.h"
#include "cli/ranks.h"

namespace {

using namespace cli;

constexpr const char* kNumberHelp = "the number: decimal digits, @FILE for a number file, - for standard input";

void addOutputOptions(CLI::App& command, OutputStyle& style)
{
    command.add_flag("--json", style.json, "one JSON object per result on standard output");
    command.add_flag("--short", style.shortView, "numbers of more than 83 digits as their first 40 ... last 40");
    command.add_flag("-q,--quiet", style.quiet, "no progress on standard error");
}

struct Commands {
    SearchCommand next, previous;
    RandomPrimeCommand random;
    TestCommand test;
    FactorCommand factor;
    StatsCommand stats;
};

void describe(CLI::App& app, Commands& c)
{
    app.require_subcommand(1);
    app.footer("Exit status: 0 prime/found, 1 composite, 2 bad input, 3 interrupted, 4 tester or internal error, "
               "5 no verdict.\nUnder mpirun, next-prime, prev-prime and random-prime share the search over the ranks.");

    CLI::App* next = app.add_subcommand("next-prime", "the smallest probable prime above the number (as NextP)");
    next->add_option("number", c.next.number, kNumberHelp)->required();
    addOutputOptions(*next, c.next.style);

    CLI::App* previous = app.add_subcommand("prev-prime", "the largest probable prime below the number (as PrevP)");
    previous->add_option("number", c.previous.number, kNumberHelp)->required();
    addOutputOptions(*previous, c.previous.style);

    CLI::App* random = app.add_subcommand("random-prime", "a random probable prime of D digits, as the generator makes it");
    random->add_option("-d,--digits", c.random.digits, "digits of the prime, 3 to 78,000,000")->required();
    random->add_option("--start-digits", c.random.startDigits, "valid starting digits (default 123456789)");
    random->add_option("--final-digits", c.random.finalDigits, "valid final digits among 1379 (default 1379)");
    random->add_option("--signature", c.random.signature, "text written into the digits after the first");
    random->add_option("--iconic", c.random.iconicDigit, "iconic prime: this digit repeated, then a short random tail");
    random->add_option("--seed", c.random.seed, "seed of the random digits: the same seed gives the same primes");
    random->add_option("-n,--count", c.random.count, "how many primes (default 1)");
    addOutputOptions(*random, c.random.style);

    CLI::App* test = app.add_subcommand("test", "the window's primality check and its verdict words");
    test->add_option("number", c.test.number, kNumberHelp)->required();
    test->add_option("--large-start", c.test.largeNumbersStart,
                     "digits above which the first check and the tester decide (default 7000, 3000..9000)");
    test->add_flag("--gmp-only", c.test.gmpOnly, "GMP's probable-prime test at every size, never the tester");
    addOutputOptions(*test, c.test.style);

    CLI::App* factor = app.add_subcommand("factor", "trial division as Fact, then ECM on what is left");
    factor->add_option("number", c.factor.number, kNumberHelp)->required();
    factor->add_option("-t,--timeout", c.factor.timeoutSeconds, "seconds of ECM at most (default 60)");
    factor->add_option("--curves", c.factor.curves, "ECM curves at most (default: bounded by the time only)");
    addOutputOptions(*factor, c.factor.style);

    CLI::App* stats = app.add_subcommand("stats", "digit statistics of the number, the window's table lines");
    stats->add_option("number", c.stats.number, kNumberHelp)->required();
    stats->add_option("--from", c.stats.segmentStart, "first digit of the segment (default 1)");
    stats->add_option("--to", c.stats.segmentEnd, "last digit of the segment (default the last)");
    addOutputOptions(*stats, c.stats.style);
}

int run(CLI::App& app, Commands& c, Ranks& ranks)
{
    if (app.got_subcommand("next-prime"))
        return runPrimeSearch(c.next, engine::SearchDirection::Up, ranks);
    if (app.got_subcommand("prev-prime"))
        return runPrimeSearch(c.previous, engine::SearchDirection::Down, ranks);
    if (app.got_subcommand("random-prime"))
        return runRandomPrime(c.random, ranks);
    // The other commands are cheap or sequential: the leader alone does them.
    if (!ranks.leader())
        return ExitFound;
    if (app.got_subcommand("test"))
        return runTest(c.test);
    if (app.got_subcommand("factor"))
        return runFactor(c.factor);
    return runStats(c.stats);
}

}  // namespace

int main(int argc, char** argv)
{
    endRunsOnInterrupt();
    Ranks ranks(argc, argv);
    CLI::App app{"quendrolt-cli: very large decimal integers and primes from the command line", "quendrolt-cli"};
    Commands commands;
    describe(app, commands);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        int status = app.exit(error);  // prints the help or the message
        return status == 0 ? ExitFound : ExitBadInput;
    }
    try {
        return run(app, commands, ranks);
    } catch (const BadInput& error) {
        if (ranks.leader())
            std::fprintf(stderr, "quendrolt-cli: %s\n", error.what());
        return ExitBadInput;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quendrolt-cli: internal error: %s\n", error.what());
        return ExitInternalError;
    }
}
