#pragma once
// Prime searches used by the generator and the calculator. Both run inside a
// worker (see worker_run.h) and may use every core.
//
// Above 64 bits a search sieves an interval of candidates beyond n as deep
// as pays (search_plan.h), tests the survivors in order with the strong
// probable-prime test to base 2 on the fastest arithmetic for their size
// (arithmetic/strong_test.h), distinct survivors on distinct cores, and
// confirms the first that passes with GMP's full test. So it finds the very
// prime mpz_nextprime finds: a survivor it rejects fails the strong base-2
// test that GMP's test starts with, and the sieve removes only numbers with
// a factor.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/big_integer.h"
#include "engine/candidate_sieve.h"
#include "engine/search_plan.h"

namespace engine {

// n becomes the smallest probable prime above n: the same number as
// mpz_nextprime gives (2 for n < 2).
void nextPrime(BigInt& n);

// n becomes the largest probable prime below n; n <= 2 (no prime below it)
// gives 0.
void previousPrime(BigInt& n);

// What a search shows while it runs on another thread.
struct SearchProgress {
    std::atomic<uint64_t> depth{0};              // the sieve depth, once chosen
    std::atomic<uint64_t> sievingPrimesDone{0};  // of the interval being sieved
    std::atomic<uint64_t> candidatesSieved{0};   // odd candidates of the intervals sieved so far
    std::atomic<uint64_t> survivorsTested{0};
};

// Knobs of the sieve-and-test search above 64 bits; zero means "chosen from
// the machine and the size of n". Tests and benchmarks set them.
struct PrimeSearchTuning {
    unsigned threads = 0;       // testing and sieving threads; 0: every core
    uint64_t sieveDepth = 0;    // sieve by the odd primes up to this
    uint32_t intervalOdds = 0;  // odd candidates sieved at a time
    // When set, counts the survivors tested so far, for a caller that shows
    // progress while the search runs on another thread.
    std::atomic<uint64_t>* survivorsTested = nullptr;
    SearchProgress* progress = nullptr;
};

void nextPrime(BigInt& n, const PrimeSearchTuning& tuning);
void previousPrime(BigInt& n, const PrimeSearchTuning& tuning);

// The sieve depth the search chooses for a number of `bits` bits on this
// machine (costs measured on a number of that size).
uint64_t sieveDepthFor(size_t bits);

// The steps of the search above 64 bits, for callers that spread a search
// over processes themselves (the command-line program under mpirun). Below
// that size the searches use GMP's routines and these do not apply.
bool searchesBySieve(const BigInt& n);

// First odd number beyond n in the direction of the search.
void firstOddBeyond(BigInt& base, const BigInt& n, SearchDirection direction);

// The candidate base + 2 offset (Up) or base - 2 offset (Down).
void candidateAt(BigInt& candidate, const BigInt& base, SearchDirection direction, uint32_t offset);

struct SearchPlan {
    unsigned threads = 1;       // of this process
    uint32_t intervalOdds = 0;  // odd candidates sieved at a time
    uint64_t depth = 0;         // sieved by the odd primes up to this
    TestLayout layout;          // how the threads share the tests
};

// The plan of a search from base (the first odd candidate): the tuning's
// values where set, else chosen from the size and the costs measured here.
SearchPlan planSearch(const BigInt& base, const PrimeSearchTuning& tuning);

constexpr size_t kNoSurvivor = std::numeric_limits<size_t>::max();

// Index i in [from, to) of the first survivor (an offset from base) that
// passes the strong test to base 2, testing distinct survivors side by side
// as the layout says: every survivor before i has failed. kNoSurvivor when
// none in the range passes. `tested` counts the finished tests.
size_t firstPassingSurvivor(const BigInt& base, SearchDirection direction, const std::vector<uint32_t>& survivors,
                            size_t from, size_t to, const TestLayout& layout, std::atomic<uint64_t>* tested = nullptr);

// The probable prime nearest to base among the odd candidates base +- 2i,
// i < odds (base odd and beyond the depth): true with it in prime, false when
// the block holds none. The same test and confirmation as the searches above.
[[nodiscard]] bool firstPrimeInBlock(const BigInt& base, SearchDirection direction, uint32_t odds, uint64_t depth, unsigned threads,
                       BigInt& prime, std::atomic<uint64_t>* survivorsTested = nullptr);

}  // namespace engine
