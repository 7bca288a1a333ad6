// Prime searches against their baselines, on the same random starts (fixed
// seeds), in the same process:
//  - next prime against GMP's mpz_nextprime at 1,000, 2,000 and 5,000 digits;
//  - previous prime against the stepwise routine (previousPrimeStepwise,
//    GMP's method downwards) and against our own next prime;
//  - at 10,000 digits, against today's search as it was before the FFT
//    arithmetic and the removal rule (kept below as `before`: strong test by
//    mpz_powm, sieve by pairs of primes with one residue each, depth capped
//    at 2^32).
// Every row checks that both sides give the same prime.
//
//   bench_next_prime [starts]             the table (starts at 1,000 and 2,000
//                                         digits; fewer at 5,000 and 10,000)
//   bench_next_prime --row KIND DIGITS [starts]
//                                         one row: KIND next, previous or before
//   bench_next_prime --sweep DIGITS [starts] [depth...]
//                                         our search alone at several sieve
//                                         depths, against the depth the rule picks
//   bench_next_prime --costs DIGITS...    the measured costs and the depth chosen
//   bench_next_prime --ifma BITS...       processor time per bit of a powering
//                                         on mpz_powm, IFMA and the registers
//   bench_next_prime --residues           residues per word, remainder trees
//                                         against one reduction per word
//   bench_next_prime --layout DIGITS...   two register arithmetics side by side
//                                         against one on two threads
#include <gmp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "arithmetic/ifma_montgomery.h"
#include "arithmetic/long_run.h"
#include "arithmetic/modular_arithmetic.h"
#include "arithmetic/strong_test.h"
#include "engine/big_integer.h"
#include "engine/candidate_sieve.h"
#include "engine/prime_library.h"
#include "engine/prime_residues.h"
#include "engine/prime_search.h"
#include "engine/prime_tables.h"
#include "engine/search_plan.h"

using namespace engine;

namespace {

using Clock = std::chrono::steady_clock;

// ---- today's search before the FFT arithmetic and the removal rule ----
namespace before {

constexpr uint64_t kMaxSieveDepth = 0xFFFFFFFFu;

bool strongBase2(mpz_srcptr n)
{
    BigInt nMinus1, odd, x(2);
    mpz_sub_ui(nMinus1.get(), n, 1);
    mp_bitcnt_t twos = mpz_scan1(nMinus1.get(), 0);
    mpz_tdiv_q_2exp(odd.get(), nMinus1.get(), twos);
    mpz_powm(x.get(), x.get(), odd.get(), n);
    if (mpz_cmp_ui(x.get(), 1) == 0 || mpz_cmp(x.get(), nMinus1.get()) == 0)
        return true;
    for (mp_bitcnt_t k = 1; k < twos; ++k) {
        mpz_mul(x.get(), x.get(), x.get());
        mpz_mod(x.get(), x.get(), n);
        if (mpz_cmp(x.get(), nMinus1.get()) == 0)
            return true;
        if (mpz_cmp_ui(x.get(), 1) == 0)
            return false;
    }
    return false;
}

void strike(std::vector<uint8_t>& composite, uint64_t p, uint64_t r)
{
    uint64_t m = (p - r) % p;
    if (m & 1)
        m += p;
    for (uint64_t i = m / 2; i < composite.size(); i += p)
        composite[i] = 1;
}

std::vector<uint32_t> sieve(const BigInt& base, uint32_t count, uint64_t depth, unsigned threads)
{
    depth = std::min(depth, kMaxSieveDepth);
    const uint64_t first = 3, end = depth + 1, ranges = threads * 8u;
    const uint64_t width = (end - first + ranges - 1) / ranges;
    std::atomic<uint64_t> nextRange{0};
    std::vector<std::vector<uint8_t>> composite(threads, std::vector<uint8_t>(count, 0));
    auto sieveRanges = [&](std::vector<uint8_t>& marks) {
        for (uint64_t k = nextRange++; k < ranges; k = nextRange++) {
            const uint64_t low = first + k * width, high = std::min(low + width, end);
            std::vector<uint64_t> primes = primesInRange(low, high);
            for (size_t i = 0; i < primes.size(); i += 2) {
                if (i + 1 == primes.size()) {
                    strike(marks, primes[i], mpz_fdiv_ui(base.get(), primes[i]));
                    break;
                }
                uint64_t r = mpz_fdiv_ui(base.get(), primes[i] * primes[i + 1]);
                strike(marks, primes[i], r % primes[i]);
                strike(marks, primes[i + 1], r % primes[i + 1]);
            }
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

uint64_t depthFor(size_t bits)
{
    double depth = 2.2e7 * std::pow(static_cast<double>(bits) / 3322.0, 2.8);
    return static_cast<uint64_t>(std::clamp(depth, 1000.0, static_cast<double>(kMaxSieveDepth)));
}

// Next prime above n: intervals of sixteen mean gaps, survivors tested in
// order on every core, the first that passes confirmed by GMP.
void nextPrime(BigInt& n)
{
    const size_t bits = mpz_sizeinbase(n.get(), 2);
    const unsigned threads = std::max(std::thread::hardware_concurrency(), 1u);
    const uint32_t odds = static_cast<uint32_t>(std::clamp<size_t>(8 * bits * 7 / 10, 64, size_t{1} << 22));
    BigInt base, candidate;
    mpz_add_ui(base.get(), n.get(), 1);
    if (mpz_even_p(base.get()))
        mpz_add_ui(base.get(), base.get(), 1);
    for (;;) {
        std::vector<uint32_t> survivors = sieve(base, odds, depthFor(bits), threads);
        for (size_t from = 0;;) {
            std::atomic<size_t> next{from}, best{std::numeric_limits<size_t>::max()};
            auto testInOrder = [&] {
                BigInt c;
                for (size_t i = next++; i < survivors.size() && i < best; i = next++) {
                    mpz_add_ui(c.get(), base.get(), 2ul * survivors[i]);
                    if (!strongBase2(c.get()))
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
            if (best == std::numeric_limits<size_t>::max())
                break;
            mpz_add_ui(candidate.get(), base.get(), 2ul * survivors[best]);
            if (mpz_probab_prime_p(candidate.get(), 25) > 0) {
                n.swap(candidate);
                return;
            }
            from = best + 1;
        }
        mpz_add_ui(base.get(), base.get(), 2ul * odds);
    }
}

}  // namespace before

// ---- measuring ----

std::vector<BigInt> randomStarts(unsigned digits, int count)
{
    gmp_randstate_t random;
    gmp_randinit_default(random);
    gmp_randseed_ui(random, 1959 + digits);
    BigInt low, span;
    mpz_ui_pow_ui(low.get(), 10, digits - 1);
    mpz_mul_ui(span.get(), low.get(), 9);
    std::vector<BigInt> starts(count);
    for (BigInt& start : starts) {
        mpz_urandomm(start.get(), random, span.get());
        mpz_add(start.get(), start.get(), low.get());
    }
    gmp_randclear(random);
    return starts;
}

// Processor time of all threads: steadier than the wall clock when other
// programs share the cores; it shows how much work each side does.
double processCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

double threadCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

struct Timing {
    double wall = 0;
    double processor = 0;
};

Timing timeOne(BigInt& n, const std::function<void(BigInt&)>& step)
{
    double cpuBefore = processCpuSeconds();
    auto began = Clock::now();
    step(n);
    return {std::chrono::duration<double>(Clock::now() - began).count(), processCpuSeconds() - cpuBefore};
}

struct Timings {
    std::vector<double> wall;
    double processor = 0;

    void add(Timing t)
    {
        wall.push_back(t.wall);
        processor += t.processor;
    }
    double total() const
    {
        double sum = 0;
        for (double s : wall)
            sum += s;
        return sum;
    }
    double median() const
    {
        std::vector<double> sorted = wall;
        std::sort(sorted.begin(), sorted.end());
        size_t mid = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
    }
};

using Search = std::function<void(BigInt&)>;

// Baseline and ours alternate start by start, so that a burst of load from
// other programs falls on both sides alike.
void compare(const char* what, unsigned digits, const std::vector<BigInt>& starts, const Search& baseline,
             const Search& ours)
{
    Timings base, fast;
    int differing = 0;
    for (const BigInt& start : starts) {
        BigInt expected, found;
        expected.set(start);
        found.set(start);
        base.add(timeOne(expected, baseline));
        fast.add(timeOne(found, ours));
        differing += expected.compare(found) != 0;
    }
    std::printf("%-26s %5u digits, %zu starts: baseline total %8.2f s median %7.2f s | ours total %7.2f s median "
                "%7.2f s | ratio total %5.2fx median %5.2fx (processor time %5.2fx) | %s\n",
                what, digits, starts.size(), base.total(), base.median(), fast.total(), fast.median(),
                base.total() / fast.total(), base.median() / fast.median(), base.processor / fast.processor,
                differing ? "RESULTS DIFFER" : "same primes");
    std::fflush(stdout);
}

const Search gmpNext = [](BigInt& n) { mpz_nextprime(n.get(), n.get()); };
const Search gmpPrevious = [](BigInt& n) { previousPrimeStepwise(n.get()); };
const Search ourNext = [](BigInt& n) { nextPrime(n); };
const Search ourPrevious = [](BigInt& n) { previousPrime(n); };

// Our previous prime against our next prime: the two directions should cost
// alike. The starts differ in direction only; the primes are checked against
// the stepwise routine where that is quick enough.
void compareDirections(unsigned digits, const std::vector<BigInt>& starts)
{
    Timings next, previous;
    for (const BigInt& start : starts) {
        BigInt up, down;
        up.set(start);
        down.set(start);
        next.add(timeOne(up, ourNext));
        previous.add(timeOne(down, ourPrevious));
    }
    std::printf("%-26s %5u digits, %zu starts: next total %8.2f s median %7.2f s | previous total %7.2f s median "
                "%7.2f s | previous/next total %5.2fx median %5.2fx\n",
                "previous against next", digits, starts.size(), next.total(), next.median(), previous.total(),
                previous.median(), previous.total() / next.total(), previous.median() / next.median());
    std::fflush(stdout);
}

void row(const std::string& kind, unsigned digits, int count)
{
    std::vector<BigInt> starts = randomStarts(digits, count);
    if (kind == "next")
        compare("next prime vs mpz_nextprime", digits, starts, gmpNext, ourNext);
    else if (kind == "previous")
        compare("previous prime vs stepwise", digits, starts, gmpPrevious, ourPrevious);
    else if (kind == "directions")
        compareDirections(digits, starts);
    else if (kind == "before")
        compare("next prime vs before", digits, starts, before::nextPrime, ourNext);
    else
        std::fprintf(stderr, "unknown row kind %s (next, previous, directions, before)\n", kind.c_str());
}

void sweep(unsigned digits, int count, std::vector<uint64_t> depths)
{
    std::vector<BigInt> starts = randomStarts(digits, count);
    size_t bits = mpz_sizeinbase(starts[0].get(), 2);
    const uint64_t chosen = sieveDepthFor(bits);
    if (depths.empty())
        for (double factor : {1.0 / 64, 1.0 / 8, 1.0, 8.0, 64.0})
            depths.push_back(static_cast<uint64_t>(static_cast<double>(chosen) * factor));
    std::printf("%u digits, %d starts, depth chosen here %llu\n", digits, count,
                static_cast<unsigned long long>(chosen));
    for (uint64_t depth : depths) {
        PrimeSearchTuning tuning;
        tuning.sieveDepth = depth;
        Timings t;
        for (const BigInt& start : starts) {
            BigInt n;
            n.set(start);
            t.add(timeOne(n, [&](BigInt& x) { nextPrime(x, tuning); }));
        }
        std::printf("  depth %15llu: total %8.2f s median %7.2f s, processor time %8.2f s\n",
                    static_cast<unsigned long long>(depth), t.total(), t.median(), t.processor);
        std::fflush(stdout);
    }
}

void costs(unsigned digits)
{
    std::vector<BigInt> starts = randomStarts(digits, 1);
    BigInt& base = starts[0];
    mpz_setbit(base.get(), 0);
    const size_t bits = mpz_sizeinbase(base.get(), 2);
    const unsigned threads = std::max(std::thread::hardware_concurrency(), 1u);
    const TestLayout layout = testLayoutFor(bits, threads);
    const SearchCosts measured = measureSearchCosts(base, intervalOddsFor(bits), layout);
    const uint64_t depth = depthByRemovalRule(bits, measured);
    const double tests = expectedTests(bits, depth);
    const double primes = static_cast<double>(depth) / std::log(static_cast<double>(depth));
    const double sieveSeconds = primes * measured.wordSeconds / primesPerWord(depth);
    std::printf("%8u digits: strong test %10.4f s, sieve %7.1f ns per word | depth %.3g (before: %.3g) | "
                "expected tests %7.1f (before: %7.1f), %9.1f s of tests, %8.1f s of sieve, processor time\n",
                digits, measured.testSeconds, measured.wordSeconds * 1e9, static_cast<double>(depth),
                static_cast<double>(before::depthFor(bits)), tests, expectedTests(bits, before::depthFor(bits)),
                tests * measured.testSeconds, sieveSeconds);
    std::fflush(stdout);
}

// Residues of a random number modulo the words of primes just above 2^32,
// one reduction per word against the remainder trees, processor time of one
// thread, best of three.
void residues()
{
    gmp_randstate_t random;
    gmp_randinit_default(random);
    gmp_randseed_ui(random, 2718);
    std::printf("residues per word (primes above 2^32; remainder trees from %zu limbs in the search)\n",
                remainderTreeMinimumLimbs());
    for (size_t limbs : {250, 500, 1000, 1500, 2000, 3000, 6000, 12000, 52000}) {
        BigInt n;
        mpz_urandomb(n.get(), random, limbs * 64);
        std::vector<uint64_t> primes = primesInRange(uint64_t{1} << 32, (uint64_t{1} << 32) + limbs * 64 * 22);
        PrimeWords words = packIntoWords(std::move(primes));
        double direct = 1e9, tree = 1e9;
        for (int round = 0; round < 3; ++round) {
            double start = threadCpuSeconds();
            std::vector<uint64_t> one(words.words.size());
            for (size_t w = 0; w < words.words.size(); ++w)
                one[w] = mpz_tdiv_ui(n.get(), words.words[w]);
            direct = std::min(direct, threadCpuSeconds() - start);
            start = threadCpuSeconds();
            std::vector<uint64_t> byTree = residuesByRemainderTrees(n.get(), words.words);
            tree = std::min(tree, threadCpuSeconds() - start);
            if (one != byTree)
                std::printf("  RESULTS DIFFER at %zu limbs\n", limbs);
        }
        const double perWord = 1e9 / static_cast<double>(words.words.size());
        std::printf("  %6zu limbs (%7zu digits): one reduction %8.1f ns per word, trees %8.1f ns, ratio %5.2fx\n",
                    limbs, static_cast<size_t>(static_cast<double>(limbs) * 64 * 0.30103), direct * perWord,
                    tree * perWord, direct / tree);
        std::fflush(stdout);
    }
    gmp_randclear(random);
}

// Squarings per second on the register arithmetic of a size: two
// arithmetics side by side on one thread each, against one on two threads
// doing as many steps (the squarings are what a strong test is made of).
void layout(unsigned digits)
{
    std::vector<BigInt> starts = randomStarts(digits, 2);
    for (BigInt& s : starts)
        mpz_setbit(s.get(), 0);
    const size_t bits = mpz_sizeinbase(starts[0].get(), 2);
    const int steps = static_cast<int>(std::clamp<size_t>(20'000'000 / bits, 8, 2000));
    auto squarings = [&](const BigInt& n, unsigned threads, int count) {
        std::unique_ptr<arithmetic::ModularArithmetic> registers = arithmetic::makeModularArithmetic(n.get(), 4, threads);
        BigInt x(3);
        registers->set(0, x.get());
        registers->square(0);  // plans and first touches out of the timing
        auto began = Clock::now();
        for (int i = 0; i < count; ++i)
            registers->square(0);
        return std::chrono::duration<double>(Clock::now() - began).count();
    };
    double sideBySide = 0;
    std::thread other([&] { sideBySide = std::max(sideBySide, squarings(starts[1], 1, steps)); });
    const double mine = squarings(starts[0], 1, steps);
    other.join();
    sideBySide = std::max(sideBySide, mine);
    const double together = squarings(starts[0], 2, 2 * steps);
    std::printf("%8u digits, %d squarings each: two arithmetics side by side %8.3f s, one on two threads %8.3f s: "
                "side by side %5.2fx as fast\n",
                digits, steps, sideBySide, together, together / sideBySide);
    std::fflush(stdout);
}

// Processor time per exponent bit of a powering of 2 (the strong test's
// work) on each arithmetic that takes the size: GMP's mpz_powm (the cost of
// one more bit of a long powering: the difference of a whole and a half
// exponent), the IFMA Montgomery arithmetic, and the FFT registers on one
// thread (square and multiplySmall per bit). Best of three.
void arithmetics(size_t bits)
{
    gmp_randstate_t random;
    gmp_randinit_default(random);
    gmp_randseed_ui(random, bits);
    BigInt n, whole, half, x, two(2);
    mpz_urandomb(n.get(), random, bits);
    mpz_setbit(n.get(), bits - 1);
    mpz_setbit(n.get(), 0);
    gmp_randclear(random);
    mpz_sub_ui(whole.get(), n.get(), 1);
    mpz_tdiv_q_2exp(half.get(), whole.get(), bits / 2);
    auto best = [](const std::function<void()>& work) {
        double fastest = 1e30;
        for (int round = 0; round < 3; ++round) {
            const double start = threadCpuSeconds();
            work();
            fastest = std::min(fastest, threadCpuSeconds() - start);
        }
        return fastest;
    };
    const double powmWhole = best([&] { mpz_powm(x.get(), two.get(), whole.get(), n.get()); });
    const double powmHalf = best([&] { mpz_powm(x.get(), two.get(), half.get(), n.get()); });
    const double gmp = (powmWhole - powmHalf) / static_cast<double>(bits - bits / 2);
    std::printf("%7zu bits: mpz_powm %8.3f us per bit", bits, gmp * 1e6);
    if (arithmetic::ifmaAvailable() && bits <= arithmetic::ifmaMaximumBits() * 2) {
        // Past the range the search gives it, timed on a shorter exponent.
        const double ifma = best([&] {
            arithmetic::IfmaMontgomery m(n.get());
            m.power(2, bits <= arithmetic::ifmaMaximumBits() ? whole.get() : half.get());
        }) / static_cast<double>(bits <= arithmetic::ifmaMaximumBits() ? bits : bits / 2);
        std::printf(" | IFMA %8.3f us (%5.2fx GMP)", ifma * 1e6, gmp / ifma);
    }
    if (bits >= 2000) {
        std::unique_ptr<arithmetic::ModularArithmetic> registers =
            arithmetic::makeModularArithmetic(n.get(), 4, 1);
        registers->set(0, two.get());
        registers->square(0);
        const int steps = static_cast<int>(std::clamp<size_t>(bits / 8, 64, 4000));
        const double fft = best([&] {
            for (int i = 0; i < steps; ++i) {
                registers->square(0);
                registers->multiplySmall(0, 2);
            }
        }) / steps;
        std::printf(" | registers %8.3f us (%5.2fx GMP)", fft * 1e6, gmp / fft);
    }
    std::printf("\n");
    std::fflush(stdout);
}

std::vector<unsigned> digitsFrom(int argc, char** argv, int first)
{
    std::vector<unsigned> digits;
    for (int i = first; i < argc; ++i)
        digits.push_back(static_cast<unsigned>(std::atoi(argv[i])));
    return digits;
}

}  // namespace

int main(int argc, char** argv)
{
    primeLibraryInit();
    const std::string mode = argc >= 2 ? argv[1] : "";
    if (mode == "--sweep" && argc >= 3) {
        int count = argc >= 4 ? std::atoi(argv[3]) : 5;
        std::vector<uint64_t> depths;
        for (int i = 4; i < argc; ++i)
            depths.push_back(std::strtoull(argv[i], nullptr, 10));
        sweep(static_cast<unsigned>(std::atoi(argv[2])), count, depths);
        return 0;
    }
    if (mode == "--row" && argc >= 4) {
        row(argv[2], static_cast<unsigned>(std::atoi(argv[3])), argc >= 5 ? std::max(1, std::atoi(argv[4])) : 5);
        return 0;
    }
    if (mode == "--costs") {
        for (unsigned digits : digitsFrom(argc, argv, 2))
            costs(digits);
        return 0;
    }
    if (mode == "--ifma") {
        for (unsigned bits : digitsFrom(argc, argv, 2))
            arithmetics(bits);
        return 0;
    }
    if (mode == "--residues") {
        residues();
        return 0;
    }
    if (mode == "--layout") {
        for (unsigned digits : digitsFrom(argc, argv, 2))
            layout(digits);
        return 0;
    }
    const int count = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
    for (unsigned digits : {1000u, 2000u})
        row("next", digits, count);
    row("next", 5000, std::max(1, count / 2));
    for (unsigned digits : {1000u, 2000u})
        row("previous", digits, count);
    for (unsigned digits : {1000u, 2000u, 5000u})
        row("directions", digits, count);
    row("before", 10000, std::max(1, count / 4));
    return 0;
}
