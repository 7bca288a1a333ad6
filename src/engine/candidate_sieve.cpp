#include "engine/candidate_sieve.h"

#include <cassert>

#include <primesieve.hpp>

#include <algorithm>
#include <atomic>
#include <thread>

namespace engine {

namespace {

// Marks the offsets whose candidate p divides, given r = base mod p.
// Up: base + 2i = 0 (mod p) means 2i = -r; Down: base - 2i = 0 means 2i = r.
// Of m and m + p (p odd) exactly one is even, and half of it is the first hit.
void strike(std::vector<uint8_t>& composite, uint64_t p, uint64_t r, SearchDirection direction)
{
    uint64_t m = direction == SearchDirection::Up ? (p - r) % p : r;
    if (m & 1)
        m += p;
    for (uint64_t i = m / 2; i < composite.size(); i += p)
        composite[i] = 1;
}

// Sieves by the primes in [low, high). The residue of a number of thousands of
// limbs costs far more than the striking, so primes go in pairs: one division
// by p * q gives both residues.
void sieveByPrimesIn(const BigInt& base, SearchDirection direction, uint64_t low, uint64_t high,
                     std::vector<uint8_t>& composite)
{
    primesieve::iterator primes(low, high);
    for (uint64_t p = primes.next_prime(); p < high; p = primes.next_prime()) {
        uint64_t q = primes.next_prime();
        if (q >= high) {
            strike(composite, p, mpz_fdiv_ui(base.get(), p), direction);
            break;
        }
        uint64_t r = mpz_fdiv_ui(base.get(), p * q);
        strike(composite, p, r % p, direction);
        strike(composite, q, r % q, direction);
    }
}

}  // namespace

std::vector<uint32_t> sieveCandidates(const BigInt& base, SearchDirection direction, uint32_t count,
                                      uint64_t depth, unsigned threads)
{
    // The sieve strikes odd multiples only: an even base would shift every
    // mark by one and let composites through as survivors.
    assert(mpz_odd_p(base.get()) && "the candidate sieve starts from an odd number");
    depth = std::min(depth, kMaxSieveDepth);
    threads = std::max(threads, 1u);
    // Several ranges per thread keep the threads busy to the end when another
    // process takes a core for a while.
    const uint64_t first = 3, end = depth + 1;
    const uint64_t ranges = end > first ? threads * 8u : 0;
    const uint64_t width = ranges ? (end - first + ranges - 1) / ranges : 0;
    std::atomic<uint64_t> nextRange{0};
    std::vector<std::vector<uint8_t>> composite(threads, std::vector<uint8_t>(count, 0));

    auto sieveRanges = [&](std::vector<uint8_t>& marks) {
        for (uint64_t k = nextRange++; k < ranges; k = nextRange++) {
            uint64_t low = first + k * width;
            sieveByPrimesIn(base, direction, low, std::min(low + width, end), marks);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back(sieveRanges, std::ref(composite[t]));
    sieveRanges(composite[0]);
    for (std::thread& helper : helpers)
        helper.join();

    std::vector<uint32_t> survivors;
    for (uint32_t i = 0; i < count; ++i) {
        bool struck = false;
        for (const std::vector<uint8_t>& marks : composite)
            struck = struck || marks[i];
        if (!struck)
            survivors.push_back(i);
    }
    return survivors;
}

}  // namespace engine
