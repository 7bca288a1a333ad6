// One row per subcommand. Adding a subcommand touches two places:
//   1. its own file, <name>_command.cpp: a Command (its options in describe,
//      its work in run) and the factory make<Name>Command that returns it;
//   2. this file: the factory's declaration and the row below.
// Registration, --help, "help NAME" and dispatch all come from the row; the
// output options (--json, --short, -q) come with every row.
#include "cli/subcommand_table.h"

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

}  // namespace

std::span<const Subcommand> subcommands() { return kSubcommands; }

}  // namespace cli
