#include "engine/prime_search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "engine/candidate_sieve.h"
#include "engine/prime_library.h"

namespace engine {

namespace {

constexpr int kConfirmRepetitions = 25;
constexpr size_t kNone = std::numeric_limits<size_t>::max();

// Up to 64 bits GMP's own routines are exact and take microseconds; the sieve
// also needs every candidate to exceed its depth, which holds beyond 2^64.
bool isSmall(const BigInt& n) { return mpz_sgn(n.get()) <= 0 || mpz_sizeinbase(n.get(), 2) <= 64; }

unsigned threadsFor(const PrimeSearchTuning& tuning)
{
    if (tuning.threads)
        return tuning.threads;
    return std::max(std::thread::hardware_concurrency(), 1u);
}

// Sixteen times the mean prime gap ln n: a prime-free stretch that long has a
// chance of about e^-16, so a second interval is almost never needed. Capped
// so that the marks of a number of millions of digits stay a few megabytes.
uint32_t intervalOddsFor(size_t bits)
{
    constexpr size_t kMostOdds = size_t{1} << 22;
    return static_cast<uint32_t>(std::clamp<size_t>(8 * bits * 7 / 10, 64, kMostOdds));
}

class StrongBase2Test {
public:
    StrongBase2Test() { mpz_inits(nMinus1_, odd_, x_, nullptr); }
    ~StrongBase2Test() { mpz_clears(nMinus1_, odd_, x_, nullptr); }
    StrongBase2Test(const StrongBase2Test&) = delete;
    StrongBase2Test& operator=(const StrongBase2Test&) = delete;

    // Strong probable-prime test to base 2 of an odd n > 2: the test GMP's own
    // probable-prime routine starts with, so nearly every composite it would
    // reject fails here after one exponentiation.
    bool passes(mpz_srcptr n)
    {
        mpz_sub_ui(nMinus1_, n, 1);
        mp_bitcnt_t twos = mpz_scan1(nMinus1_, 0);
        mpz_tdiv_q_2exp(odd_, nMinus1_, twos);
        mpz_set_ui(x_, 2);
        mpz_powm(x_, x_, odd_, n);
        if (mpz_cmp_ui(x_, 1) == 0 || mpz_cmp(x_, nMinus1_) == 0)
            return true;
        for (mp_bitcnt_t k = 1; k < twos; ++k) {
            mpz_mul(x_, x_, x_);
            mpz_mod(x_, x_, n);
            if (mpz_cmp(x_, nMinus1_) == 0)
                return true;
            if (mpz_cmp_ui(x_, 1) == 0)
                return false;
        }
        return false;
    }

private:
    mpz_t nMinus1_, odd_, x_;
};

void candidateAt(BigInt& candidate, const BigInt& base, SearchDirection direction, uint32_t offset)
{
    if (direction == SearchDirection::Up)
        mpz_add_ui(candidate.get(), base.get(), 2ul * offset);
    else
        mpz_sub_ui(candidate.get(), base.get(), 2ul * offset);
}

// Index (from `from` on) of the first survivor that passes the base-2 test,
// or kNone. Threads take survivors in order and never one beyond a passing
// index, so when the threads end every survivor before the result has failed.
size_t firstPassing(const BigInt& base, SearchDirection direction, const std::vector<uint32_t>& survivors,
                    size_t from, unsigned threads)
{
    std::atomic<size_t> next{from};
    std::atomic<size_t> best{kNone};
    auto testInOrder = [&] {
        BigInt candidate;
        StrongBase2Test test;
        for (size_t i = next++; i < survivors.size() && i < best; i = next++) {
            candidateAt(candidate, base, direction, survivors[i]);
            if (!test.passes(candidate.get()))
                continue;
            size_t seen = best;
            while (i < seen && !best.compare_exchange_weak(seen, i)) {
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back(testInOrder);
    testInOrder();
    for (std::thread& helper : helpers)
        helper.join();
    return best;
}

// First odd number beyond n in the direction of the search.
void firstOddBeyond(BigInt& base, const BigInt& n, SearchDirection direction)
{
    if (direction == SearchDirection::Up) {
        mpz_add_ui(base.get(), n.get(), 1);
        if (mpz_even_p(base.get()))
            mpz_add_ui(base.get(), base.get(), 1);
    } else {
        mpz_sub_ui(base.get(), n.get(), 1);
        if (mpz_even_p(base.get()))
            mpz_sub_ui(base.get(), base.get(), 1);
    }
}

// Sieves an interval beyond n deeply, tests its survivors on every thread and
// confirms the first that passes with GMP's full test; a candidate that fails
// the confirmation is passed over and the search goes on after it.
void sieveAndTest(BigInt& n, SearchDirection direction, const PrimeSearchTuning& tuning)
{
    const size_t bits = mpz_sizeinbase(n.get(), 2);
    const unsigned threads = threadsFor(tuning);
    const uint64_t depth = tuning.sieveDepth ? tuning.sieveDepth : sieveDepthFor(bits);
    const uint32_t odds = tuning.intervalOdds ? tuning.intervalOdds : intervalOddsFor(bits);
    BigInt base, candidate;
    firstOddBeyond(base, n, direction);
    for (;;) {
        std::vector<uint32_t> survivors = sieveCandidates(base, direction, odds, depth, threads);
        for (size_t from = 0;;) {
            size_t hit = firstPassing(base, direction, survivors, from, threads);
            if (hit == kNone)
                break;
            candidateAt(candidate, base, direction, survivors[hit]);
            if (mpz_probab_prime_p(candidate.get(), kConfirmRepetitions) > 0) {
                n.swap(candidate);
                return;
            }
            from = hit + 1;
        }
        candidateAt(base, base, direction, odds);
    }
}

}  // namespace

uint64_t sieveDepthFor(size_t bits)
{
    // Measured optimum (bench_next_prime --sweep): a test costs about bits^2.6,
    // a residue about bits, and the tests saved per extra prime fall as
    // 1 / (depth ln depth), so the best depth grows a little faster than bits^2.
    double depth = 2.2e7 * std::pow(static_cast<double>(bits) / 3322.0, 2.8);
    return static_cast<uint64_t>(std::clamp(depth, 1000.0, static_cast<double>(kMaxSieveDepth)));
}

void nextPrime(BigInt& n) { nextPrime(n, PrimeSearchTuning{}); }

void previousPrime(BigInt& n) { previousPrime(n, PrimeSearchTuning{}); }

void nextPrime(BigInt& n, const PrimeSearchTuning& tuning)
{
    if (isSmall(n)) {
        mpz_nextprime(n.get(), n.get());
        return;
    }
    sieveAndTest(n, SearchDirection::Up, tuning);
}

void previousPrime(BigInt& n, const PrimeSearchTuning& tuning)
{
    if (isSmall(n)) {
        previousPrimeStepwise(n.get());
        return;
    }
    sieveAndTest(n, SearchDirection::Down, tuning);
}

}  // namespace engine
