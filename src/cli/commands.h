#pragma once
// The subcommands of quendrolt-cli, each with the options CLI11 fills in.
// Every run returns its exit status (exit_status.h); bad input is thrown as
// BadInput and reported by main.
#include <cstdint>
#include <optional>
#include <string>

#include "cli/ranks.h"
#include "engine/candidate_sieve.h"

namespace cli {

struct OutputStyle {
    bool json = false;
    bool shortView = false;  // head...tail as the window shows long numbers
    bool quiet = false;      // no progress on standard error
};

struct SearchCommand {
    std::string number;
    OutputStyle style;
};

struct RandomPrimeCommand {
    int64_t digits = 0;
    std::string startDigits = "123456789";
    std::string finalDigits = "1379";
    std::string signature;
    std::string iconicDigit;
    std::optional<uint64_t> seed;
    int64_t count = 1;
    OutputStyle style;
};

struct TestCommand {
    std::string number;
    int64_t largeNumbersStart = 7000;  // the window's Limits entry "Large numbers start"
    bool gmpOnly = false;              // never run the tester
    OutputStyle style;
};

struct FactorCommand {
    std::string number;
    double timeoutSeconds = 60;
    int64_t curves = 0;  // 0: no bound but the time
    OutputStyle style;
};

struct StatsCommand {
    std::string number;
    int64_t segmentStart = 1;
    int64_t segmentEnd = 0;  // 0: to the last digit
    OutputStyle style;
};

int runPrimeSearch(const SearchCommand& command, engine::SearchDirection direction, Ranks& ranks);
int runRandomPrime(const RandomPrimeCommand& command, Ranks& ranks);
int runTest(const TestCommand& command);
int runFactor(const FactorCommand& command);
int runStats(const StatsCommand& command);

// The digits as the result line shows them: whole, or head...tail.
std::string shownNumber(const std::string& digits, const OutputStyle& style);

}  // namespace cli
