#include "engine/candidate_sieve.h"

#include <cassert>
#include <ctime>

#include <algorithm>
#include <atomic>
#include <bit>
#include <thread>

#include "engine/prime_residues.h"
#include "engine/prime_tables.h"

namespace engine {

namespace {

// Primes are taken from primesieve in ranges this long at least: shorter
// ones would pay its set-up (the sieving primes up to the square root) too
// often. At most this long, so that a range's primes stay tens of megabytes.
constexpr uint64_t kMinRangeLength = uint64_t{1} << 20;
constexpr uint64_t kMaxRangeLength = uint64_t{1} << 26;
// Numbers of the sample range that times the sieve, at least: a few hundred
// primes, so that the sample stays a small part of a search of a few
// hundred digits.
constexpr uint64_t kSampleLength = uint64_t{1} << 13;
// Ranges per process at least, so that its threads finish together even when
// another program takes a core for a while.
constexpr uint64_t kRangesPerShare = 64;

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

// Sieves by the primes in [low, high) and returns how many there were.
uint64_t sieveRange(const BigInt& base, SearchDirection direction, uint64_t low, uint64_t high,
                    std::vector<uint8_t>& composite)
{
    PrimeWords packed = packIntoWords(primesInRange(low, high));
    forEachPrimeResidue(packed, residuesModuloWords(base.get(), packed.words),
                        [&](uint64_t p, uint64_t r) { strike(composite, p, r, direction); });
    return packed.primes.size();
}

double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

std::vector<uint8_t> sieveMarks(const BigInt& base, SearchDirection direction, uint32_t count, uint64_t depth,
                                const SieveSettings& settings)
{
    // The sieve strikes odd multiples only: an even base would shift every
    // mark by one and let composites through as survivors.
    assert(mpz_odd_p(base.get()) && "the candidate sieve starts from an odd number");
    assert(settings.shares > 0 && settings.share < settings.shares && "a share of the sieving primes");
    const unsigned threads = std::max(settings.threads, 1u);
    // The ranges depend on the depth and the number of shares only, so that
    // the processes of a distributed search cut them alike.
    const uint64_t first = 3, end = depth + 1;
    const uint64_t span = end > first ? end - first : 0;
    const uint64_t parts = kRangesPerShare * settings.shares;
    const uint64_t width = std::clamp((span + parts - 1) / parts, kMinRangeLength, kMaxRangeLength);
    const uint64_t ranges = (span + width - 1) / width;
    std::atomic<uint64_t> nextRange{settings.share};
    std::vector<std::vector<uint8_t>> composite(threads, std::vector<uint8_t>(count, 0));

    auto sieveRanges = [&](std::vector<uint8_t>& marks) {
        for (uint64_t k = nextRange.fetch_add(settings.shares); k < ranges; k = nextRange.fetch_add(settings.shares)) {
            const uint64_t low = first + k * width;
            const uint64_t primes = sieveRange(base, direction, low, std::min(low + width, end), marks);
            if (settings.primesDone)
                *settings.primesDone += primes;
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back(sieveRanges, std::ref(composite[t]));
    sieveRanges(composite[0]);
    for (std::thread& helper : helpers)
        helper.join();

    for (unsigned t = 1; t < threads; ++t)
        for (uint32_t i = 0; i < count; ++i)
            composite[0][i] |= composite[t][i];
    return std::move(composite[0]);
}

std::vector<uint32_t> unstruck(const std::vector<uint8_t>& marks)
{
    std::vector<uint32_t> survivors;
    for (uint32_t i = 0; i < marks.size(); ++i)
        if (!marks[i])
            survivors.push_back(i);
    return survivors;
}

std::vector<uint32_t> sieveCandidates(const BigInt& base, SearchDirection direction, uint32_t count,
                                      uint64_t depth, unsigned threads)
{
    SieveSettings settings;
    settings.threads = threads;
    return unstruck(sieveMarks(base, direction, count, depth, settings));
}

unsigned primesPerWord(uint64_t p) { return std::max(1u, 64u / static_cast<unsigned>(std::bit_width(p))); }

double measuredSecondsPerWord(const BigInt& base, uint32_t count)
{
    // At least one remainder-tree batch (as many words as base has limbs),
    // and a few hundred primes for the clock: primes near 2^32 are 22.2
    // apart on average. The residues and the striking are timed, not
    // primesieve, whose set-up a sample this short would overstate.
    const uint64_t words = mpz_size(base.get());
    const uint64_t low = uint64_t{1} << 32;
    const std::vector<uint64_t> primes = primesInRange(low, low + std::max(kSampleLength, words * 23));
    std::vector<uint8_t> scratch(count, 0);
    // Timed the second time round: the first pays for fresh memory and cold
    // caches, which the sieve itself meets only once.
    double seconds = 0;
    for (int round = 0; round < 2; ++round) {
        const double start = threadSeconds();
        PrimeWords packed = packIntoWords(primes);
        forEachPrimeResidue(packed, residuesModuloWords(base.get(), packed.words),
                            [&](uint64_t p, uint64_t r) { strike(scratch, p, r, SearchDirection::Up); });
        seconds = threadSeconds() - start;
    }
    return seconds / static_cast<double>(std::max<size_t>(primes.size(), 1));
}

}  // namespace engine
