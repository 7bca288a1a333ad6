#pragma once
// Prime searches used by the generator and the calculator. Both run inside a
// worker (see worker_run.h) and may use every core.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/big_integer.h"
#include "engine/candidate_sieve.h"

namespace engine {

// n becomes the smallest probable prime above n: the same number as
// mpz_nextprime gives (2 for n < 2).
void nextPrime(BigInt& n);

// n becomes the largest probable prime below n; n <= 2 (no prime below it)
// gives 0.
void previousPrime(BigInt& n);

// Knobs of the sieve-and-test search above 64 bits; zero means "chosen from
// the machine and the size of n". Tests and benchmarks set them.
struct PrimeSearchTuning {
    unsigned threads = 0;       // testing and sieving threads; 0: every core
    uint64_t sieveDepth = 0;    // sieve by the odd primes up to this
    uint32_t intervalOdds = 0;  // odd candidates sieved at a time
    // When set, counts the survivors tested so far, for a caller that shows
    // progress while the search runs on another thread.
    std::atomic<uint64_t>* survivorsTested = nullptr;
};

void nextPrime(BigInt& n, const PrimeSearchTuning& tuning);
void previousPrime(BigInt& n, const PrimeSearchTuning& tuning);

// The sieve depth the search uses for a number of `bits` bits.
uint64_t sieveDepthFor(size_t bits);

// The steps of the search above 64 bits, for callers that hand out blocks of
// candidates themselves (the command-line program spreads them over processes).
// Below that size the searches use GMP's routines and these do not apply.
bool searchesBySieve(const BigInt& n);

// First odd number beyond n in the direction of the search.
void firstOddBeyond(BigInt& base, const BigInt& n, SearchDirection direction);

// The probable prime nearest to base among the odd candidates base +- 2i,
// i < odds (base odd and beyond the depth): true with it in prime, false when
// the block holds none. The same test and confirmation as the searches above.
[[nodiscard]] bool firstPrimeInBlock(const BigInt& base, SearchDirection direction, uint32_t odds, uint64_t depth, unsigned threads,
                       BigInt& prime, std::atomic<uint64_t>* survivorsTested = nullptr);

}  // namespace engine
