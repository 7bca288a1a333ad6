// One row per subcommand. Adding a subcommand touches two places:
//   1. its own file, <name>_command.cpp: a Command (its options in describe,
//      its work in run) and the factory make<Name>Command that returns it;
//   2. this file: the factory's declaration and the row below.
// Registration, --help, "help NAME" and dispatch all come from the row; the
// shared options (--json, --short, -q, and --threads on the searches) come
// with every row; a new shared option is one row of kSharedOptions.
#include "cli/subcommand_table.h"

#include <CLI/CLI.hpp>

namespace cli {

std::unique_ptr<Command> makeNextPrimeCommand();
std::unique_ptr<Command> makePrevPrimeCommand();
std::unique_ptr<Command> makeRandomPrimeCommand();
std::unique_ptr<Command> makeTestCommand();
std::unique_ptr<Command> makeFactorCommand();
std::unique_ptr<Command> makeStatsCommand();
std::unique_ptr<Command> makeProveCommand();
std::unique_ptr<Command> makeVerifyCertCommand();
std::unique_ptr<Command> makeVerifyProofCommand();
std::unique_ptr<Command> makeHelpCommand();

namespace {

constexpr Subcommand kSubcommands[] = {
    {"next-prime", "the smallest probable prime above the number (as NextP)", Ranked::Shared, makeNextPrimeCommand},
    {"prev-prime", "the largest probable prime below the number (as PrevP)", Ranked::Shared, makePrevPrimeCommand},
    {"random-prime", "a random probable prime of D digits, as the generator makes it", Ranked::Shared,
     makeRandomPrimeCommand},
    {"test", "the window's primality check and its verdict words", Ranked::LeaderOnly, makeTestCommand},
    {"factor", "trial division as Fact, then ECM and PARI's quadratic sieve, within a time budget", Ranked::LeaderOnly,
     makeFactorCommand},
    {"stats", "digit statistics of the number or of a segment of it", Ranked::LeaderOnly, makeStatsCommand},
    {"prove", "proves the number prime (elliptic curves by PARI; Lucas-Lehmer for 2^q-1) or composite, with a certificate",
     Ranked::LeaderOnly, makeProveCommand},
    {"verify-cert", "checks a certificate written by prove --cert and names the number it proves prime",
     Ranked::LeaderOnly, makeVerifyCertCommand},
    {"verify-proof", "checks the proof of a Fermat test the tester wrote with -proof P, in 1/2^P of the test's time",
     Ranked::LeaderOnly, makeVerifyProofCommand},
    {"help", "this help, or the help of one subcommand: help NAME", Ranked::LeaderOnly, makeHelpCommand},
};

template <bool OutputStyle::*flag>
void addFlag(CLI::App& app, const SharedOption& row, SharedSettings& settings)
{
    app.add_flag(std::string(row.flags), settings.style.*flag, std::string(row.help));
}

// Taken as typed: option_values.h reads it, so that a refusal shows it.
void addThreads(CLI::App& app, const SharedOption& row, SharedSettings& settings)
{
    app.add_option(std::string(row.flags), settings.search.threadsTyped, std::string(row.help));
}

constexpr SharedOption kSharedOptions[] = {
    {"--json", "one JSON object per result on standard output", false, false, addFlag<&OutputStyle::json>},
    {"--short", "numbers of more than 83 digits as their first 40 ... last 40", false, false,
     addFlag<&OutputStyle::shortView>},
    {"-q,--quiet", "no progress on standard error", false, false, addFlag<&OutputStyle::quiet>},
    {"--threads", "threads of each process for the search, 1 to 1,024 (default: every core run alone, "
                  "1 per rank under mpirun with several ranks)",
     true, true, addThreads},
};

}  // namespace

std::span<const Subcommand> subcommands() { return kSubcommands; }

std::span<const SharedOption> sharedOptions() { return kSharedOptions; }

bool namesOption(const SharedOption& row, std::string_view word)
{
    for (std::string_view names = row.flags; !names.empty();) {
        const size_t comma = names.find(',');
        if (names.substr(0, comma) == word)
            return true;
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    }
    return false;
}

}  // namespace cli
