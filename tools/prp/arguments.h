#pragma once
// The command line of the tester: switches first, then the number file.
// Callers hand the whole parameter string over without quoting the path, so
// the path may arrive split into several words; see parseArguments.
#include <cstdint>
#include <string>
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

struct ParsedArguments {
    bool ok = false;
    std::string error;  // set when !ok
    TesterOptions options;
};

// Reads argv[1..argc-1]. Each word may itself hold several blank-separated
// switches (the parameter string passed as one word). "-proof" takes the
// next piece as its value. The first other piece that is not a switch starts
// the file name, which then runs to the end of the
// command line: the rest of its word verbatim, later words joined to it with
// single blanks.
ParsedArguments parseArguments(int argc, const char* const* argv);

// The bases actually tested: the "-b" bases, or base 3 when none was given.
std::vector<unsigned long> effectiveBases(const TesterOptions& options);

}  // namespace prp
