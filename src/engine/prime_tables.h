#pragma once
// Tables of small primes, all from primesieve: the divisor products, trial
// division and the tester's trial factoring take their primes from here.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

// The first `count` primes: 2, 3, 5, ...
std::vector<unsigned> firstPrimes(size_t count);

// The primes p with lo <= p < hi. Safe to call from several threads at once.
std::vector<uint64_t> primesInRange(uint64_t lo, uint64_t hi);

}  // namespace engine
