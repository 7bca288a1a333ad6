#include "engine/prime_tables.h"

#include <cassert>

#include <primesieve.hpp>

namespace engine {

std::vector<unsigned> firstPrimes(size_t count)
{
    std::vector<unsigned> primes;
    primesieve::generate_n_primes(count, &primes);
    return primes;
}

std::vector<uint64_t> primesInRange(uint64_t lo, uint64_t hi)
{
    std::vector<uint64_t> primes;
    if (hi > lo)
        primesieve::generate_primes(lo, hi - 1, &primes);
    assert(primes.empty() || (primes.front() >= lo && primes.back() < hi));
    return primes;
}

}  // namespace engine
