// Next and previous prime of random 1000- and 2000-digit numbers: GMP's
// mpz_nextprime and the simple previousPrimeStepwise against the sieve-and-test search,
// on the same starts (fixed seed). Prints totals, medians and ratios.
//
//   bench_next_prime [starts]            the comparison (default 5 starts)
//   bench_next_prime --sweep DIGITS [starts] [depth...]
//                                        our search alone at several sieve
//                                        depths, to re-measure the best depth
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

#include "engine/big_integer.h"
#include "engine/prime_library.h"
#include "engine/prime_search.h"

using namespace engine;

namespace {

using Clock = std::chrono::steady_clock;

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

// Baseline and ours alternate start by start, so that a burst of load from
// other programs falls on both sides alike.
void compare(const char* what, unsigned digits, const std::vector<BigInt>& starts,
             const std::function<void(BigInt&)>& baseline, const std::function<void(BigInt&)>& ours)
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
    std::printf("%-15s %4u digits, %zu starts: baseline total %7.2f s median %6.2f s | ours total %6.2f s median "
                "%6.2f s | ratio total %5.2fx median %5.2fx (processor time %5.2fx) | %s\n",
                what, digits, starts.size(), base.total(), base.median(), fast.total(), fast.median(),
                base.total() / fast.total(), base.median() / fast.median(), base.processor / fast.processor,
                differing ? "RESULTS DIFFER" : "same primes");
    std::fflush(stdout);
}

void sweep(unsigned digits, int count, std::vector<uint64_t> depths)
{
    if (depths.empty())
        depths = {1000000, 3000000, 10000000, 30000000, 100000000, 300000000, 1000000000};
    std::vector<BigInt> starts = randomStarts(digits, count);
    size_t bits = mpz_sizeinbase(starts[0].get(), 2);
    std::printf("%u digits, %d starts, automatic depth %llu\n", digits, count,
                static_cast<unsigned long long>(sieveDepthFor(bits)));
    for (uint64_t depth : depths) {
        PrimeSearchTuning tuning;
        tuning.sieveDepth = depth;
        Timings t;
        for (const BigInt& start : starts) {
            BigInt n;
            n.set(start);
            t.add(timeOne(n, [&](BigInt& x) { nextPrime(x, tuning); }));
        }
        std::printf("  depth %11llu: total %7.2f s median %6.2f s, processor time %7.2f s\n",
                    static_cast<unsigned long long>(depth), t.total(), t.median(), t.processor);
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    primeLibraryInit();
    if (argc >= 3 && std::strcmp(argv[1], "--sweep") == 0) {
        int count = argc >= 4 ? std::atoi(argv[3]) : 5;
        std::vector<uint64_t> depths;
        for (int i = 4; i < argc; ++i)
            depths.push_back(std::strtoull(argv[i], nullptr, 10));
        sweep(static_cast<unsigned>(std::atoi(argv[2])), count, depths);
        return 0;
    }
    const int count = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
    auto gmpNext = [](BigInt& n) { mpz_nextprime(n.get(), n.get()); };
    auto ourNext = [](BigInt& n) { nextPrime(n); };
    for (unsigned digits : {1000u, 2000u})
        compare("next prime", digits, randomStarts(digits, count), gmpNext, ourNext);
    compare("previous prime", 1000, randomStarts(1000, count), [](BigInt& n) { previousPrimeStepwise(n.get()); },
            [](BigInt& n) { previousPrime(n); });
    return 0;
}
