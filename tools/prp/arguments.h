#pragma once
// The command line of the tester: switches first, then the number file.
// Callers hand the whole parameter string over without quoting the path, so
// the path may arrive split into several words; see parseArguments.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace prp {

// Trial factoring depth of "-f" without a number, and the unit of "-f<n>".
constexpr uint64_t kDefaultTrialDepth = 10'000'000;
constexpr uint64_t kTrialDepthUnit = 1'000'000;
// "-f<n>" above this is clipped: the sieve's base primes stay below 10^6.
constexpr uint64_t kMaxTrialDepthFactor = 1'000'000;
// Seconds between checkpoints of a long test unless "-C<seconds>" says.
constexpr unsigned kDefaultCheckpointSeconds = 600;

// Threads when "-T" is not given: one per core.
unsigned defaultThreads();

struct TesterOptions {
    uint64_t trialDepth = kDefaultTrialDepth;  // 0: no trial factoring
    bool trialOnly = false;                    // "-o"
    bool mersenneTest = false;                 // "-tm"
    unsigned threads = defaultThreads();       // "-T<n>"
    unsigned checkpointSeconds = kDefaultCheckpointSeconds;  // "-C<seconds>"; 0: none
    std::vector<unsigned long> bases;          // "-b<n>" in the order given; empty: base 3
    unsigned proofPower = 0;                   // "-proof P" (or "-proof<P>"): 1 .. 16; 0: no proof
    std::string numberFile;
};

// What may follow a switch's name inside the same piece.
enum class SwitchArgument {
    None,            // "-o": nothing
    Number,          // "-T4": decimal digits
    OptionalNumber,  // "-f" or "-f1000"
    AnyText,         // "-s0", "-q...": anything, ignored
    NumberOrNext,    // "-proof8", or "-proof" with the number as the next piece
};

// One row per switch: the parser, the usage text and the switch table of
// README.md all come from these rows.
struct SwitchRow {
    std::string_view name;          // "-f"
    SwitchArgument argument;
    std::string_view argumentText;  // how the usage shows the argument: "[<n>]"
    bool accumulates;               // given again, adds rather than replaces ("-b")
    std::string_view meaning;
    // Applies the switch with its number (when it has one); false when the
    // number is out of the switch's range.
    bool (*apply)(TesterOptions& options, std::optional<uint64_t> number);
    // What the number must be ("a power from 1 to 16"), named in the error
    // when it is missing or refused; empty: the switch is just malformed.
    std::string_view numberRange = {};
};

std::span<const SwitchRow> switchTable();

// "pfgw64_133mm.exe [-f[<n>]] [-o] ... <number file>", one line.
std::string usageSynopsis(std::string_view program);
// The synopsis and one line per switch with its meaning.
std::string usageText(std::string_view program);

struct ParsedArguments {
    bool ok = false;
    std::string error;  // set when !ok
    TesterOptions options;
};

// Reads argv[1..argc-1]. Each word may itself hold several blank-separated
// switches (the parameter string passed as one word). A switch whose number
// may come apart ("-proof 8") takes the next piece. The first other piece that is not a switch starts
// the file name, which then runs to the end of the
// command line: the rest of its word verbatim, later words joined to it with
// single blanks.
ParsedArguments parseArguments(int argc, const char* const* argv);

// The bases actually tested: the "-b" bases, or base 3 when none was given.
std::vector<unsigned long> effectiveBases(const TesterOptions& options);

}  // namespace prp
