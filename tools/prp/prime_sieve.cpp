#include "prime_sieve.h"

#include <algorithm>

namespace prp {

std::vector<uint32_t> primesUpTo(uint32_t limit)
{
    std::vector<uint32_t> primes;
    if (limit < 2)
        return primes;
    std::vector<bool> composite(static_cast<size_t>(limit) + 1, false);
    for (uint64_t n = 2; n <= limit; ++n) {
        if (composite[n])
            continue;
        primes.push_back(static_cast<uint32_t>(n));
        for (uint64_t multiple = n * n; multiple <= limit; multiple += n)
            composite[multiple] = true;
    }
    return primes;
}

std::vector<uint64_t> primesInRange(uint64_t lo, uint64_t hi, const std::vector<uint32_t>& basePrimes)
{
    std::vector<uint64_t> primes;
    if (hi <= lo)
        return primes;
    if (lo <= 2 && hi > 2)
        primes.push_back(2);
    // Odd numbers only: slot i stands for first + 2*i.
    uint64_t first = std::max<uint64_t>(lo | 1, 3);
    if (first >= hi)
        return primes;
    size_t slots = static_cast<size_t>((hi - first + 1) / 2);
    std::vector<uint8_t> composite(slots, 0);
    for (uint32_t p : basePrimes) {
        if (p == 2)
            continue;
        uint64_t square = uint64_t{p} * p;
        if (square >= hi)
            break;
        uint64_t start = std::max(square, (first + p - 1) / p * p);
        if (start % 2 == 0)
            start += p;
        for (uint64_t slot = (start - first) / 2; slot < slots; slot += p)
            composite[slot] = 1;
    }
    primes.reserve(primes.size() + slots / 8);
    for (size_t slot = 0; slot < slots; ++slot)
        if (!composite[slot])
            primes.push_back(first + 2 * slot);
    return primes;
}

}  // namespace prp
