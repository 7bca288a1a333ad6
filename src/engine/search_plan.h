#pragma once
// How a prime search beyond a large number is laid out: the interval of odd
// candidates sieved at a time, the sieve depth, and how the cores share the
// probable-prime tests.
//
// The depth follows the removal rule: sieve by one more prime while the
// tests it saves cost more than its residue. Of the survivors of a sieve to
// depth P, the search tests about E(P) = (ln N / 2) * 2e^-gamma / ln P before
// it meets the prime (the odd candidates up to the mean gap, times the share
// Mertens' theorem leaves), and a prime p removes E/p of them. So p pays while
//     E(p) / p * (one test) > (one residue modulo p),
// and both costs are measured at run time on the number's own size.
#include <cstddef>
#include <cstdint>

#include "engine/big_integer.h"

namespace engine {

struct SearchCosts {
    double testSeconds = 0;  // one strong test of a candidate, processor seconds of one worker
    double wordSeconds = 0;  // the sieve's cost per word of sieving primes (candidate_sieve.h)
};

// The cores of a search: `workers` tests side by side, each on
// `threadsPerTest` threads.
struct TestLayout {
    unsigned workers = 1;
    unsigned threadsPerTest = 1;
};

// Odd candidates sieved at a time: sixteen mean prime gaps, so that a second
// interval is almost never needed (a stretch that long without a prime has
// a chance of about e^-16), capped to keep the marks a few megabytes.
uint32_t intervalOddsFor(size_t bits);

// Tests side by side on distinct candidates, one thread each: at every size
// measured two tests side by side do more per second than one test on two
// threads (bench_next_prime --layout).
TestLayout testLayoutFor(size_t bits, unsigned threads);

// Times a sample of one strong test (a few hundredths of it at most) and a
// sample range of the sieve, on base's size, in processor time of this
// thread, so that other programs on the machine hardly move the figures.
SearchCosts measureSearchCosts(const BigInt& base, uint32_t intervalOdds, const TestLayout& layout);

// The depth of the removal rule for numbers of `bits` bits.
uint64_t depthByRemovalRule(size_t bits, const SearchCosts& costs);

// Expected strong tests of a search sieved to depth: E(depth) above.
double expectedTests(size_t bits, uint64_t depth);

// Processor seconds a whole search is expected to take at that depth.
double expectedSearchSeconds(size_t bits, uint64_t depth, const SearchCosts& costs);

// True when a search of that many expected processor seconds gains from
// more threads: below about a millisecond, starting them and waiting for
// them costs more than they save (on a busy machine a new thread may wait
// that long for a core).
bool threadsPay(double expectedSeconds);

}  // namespace engine
