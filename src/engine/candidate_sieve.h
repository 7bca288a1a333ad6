#pragma once
// Sieve of an interval of odd candidates above or below a large number by
// every odd prime up to a chosen depth, so that only the survivors reach a
// probable-prime test. The primes come from primesieve, range by range; the
// residues of the interval's base modulo a range's primes from
// prime_residues.h (remainder trees when the base is long).
#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/big_integer.h"

namespace engine {

enum class SearchDirection { Up, Down };

struct SieveSettings {
    unsigned threads = 1;
    // This process sieves by the ranges of primes share, share + shares,
    // share + 2 shares, ... only; the processes of a distributed search
    // together cover every range, and their marks are combined by OR.
    uint32_t share = 0;
    uint32_t shares = 1;
    // When set, counts the sieving primes done so far, for progress shown on
    // another thread.
    std::atomic<uint64_t>* primesDone = nullptr;
};

// Marks (1: struck) of the candidates base + 2i (Up) or base - 2i (Down),
// i < count, by the odd primes p <= depth of the settings' share. base must
// be odd and every candidate larger than depth, so that no sieving prime
// strikes itself.
std::vector<uint8_t> sieveMarks(const BigInt& base, SearchDirection direction, uint32_t count, uint64_t depth,
                                const SieveSettings& settings);

// Offsets i (ascending) that no mark strikes.
std::vector<uint32_t> unstruck(const std::vector<uint8_t>& marks);

// The survivors of the whole sieve in one process: unstruck(sieveMarks(...)).
std::vector<uint32_t> sieveCandidates(const BigInt& base, SearchDirection direction, uint32_t count,
                                      uint64_t depth, unsigned threads);

// Primes per word of the residue computation near p: three below 2^21, two
// below 2^32, one above (prime_residues.h).
unsigned primesPerWord(uint64_t p);

// Processor seconds (of this thread) the sieve of an interval of `count`
// candidates beyond base spends per word of sieving primes, timed on a
// sample range of primes just above 2^32.
double measuredSecondsPerWord(const BigInt& base, uint32_t count);

}  // namespace engine
