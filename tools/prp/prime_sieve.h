#pragma once
// Primes for trial factoring, produced range by range so that threads can
// sieve their own ranges and memory stays bounded at any depth.
#include <cstdint>
#include <vector>

namespace prp {

// Primes p with p <= limit, by a plain sieve (used for the base primes).
std::vector<uint32_t> primesUpTo(uint32_t limit);

// Primes p with lo <= p < hi. basePrimes must hold every prime up to
// sqrt(hi - 1).
std::vector<uint64_t> primesInRange(uint64_t lo, uint64_t hi, const std::vector<uint32_t>& basePrimes);

}  // namespace prp
