#include "engine/search_plan.h"

#include <algorithm>
#include <cmath>

#include "arithmetic/strong_test.h"
#include "engine/candidate_sieve.h"

namespace engine {

namespace {

// 2 e^-gamma: the share of odd numbers no odd prime up to P divides is
// about this over ln P (Mertens' third theorem).
constexpr double kMertensOdd = 1.1229189671;
// Shallowest and deepest sieve: below the first a search is a few
// microseconds either way; the second keeps p * 2 and every sum of the
// sieve's index arithmetic inside 64 bits.
constexpr uint64_t kShallowestDepth = 1000;
constexpr uint64_t kDeepestDepth = uint64_t{1} << 62;

// See threadsPay.
constexpr double kThreadsPayFromSeconds = 2e-3;

double lnOf(size_t bits) { return static_cast<double>(bits) * std::log(2.0); }

}  // namespace

uint32_t intervalOddsFor(size_t bits)
{
    constexpr size_t kMostOdds = size_t{1} << 22;
    return static_cast<uint32_t>(std::clamp<size_t>(8 * bits * 7 / 10, 64, kMostOdds));
}

TestLayout testLayoutFor(size_t bits, unsigned threads)
{
    (void)bits;
    return TestLayout{std::max(threads, 1u), 1};
}

SearchCosts measureSearchCosts(const BigInt& base, uint32_t intervalOdds, const TestLayout& layout)
{
    SearchCosts costs;
    costs.testSeconds = arithmetic::strongTestSeconds(base.get(), 2, layout.threadsPerTest);
    costs.wordSeconds = measuredSecondsPerWord(base, intervalOdds);
    return costs;
}

double expectedTests(size_t bits, uint64_t depth)
{
    return lnOf(bits) / 2 * kMertensOdd / std::log(static_cast<double>(std::max<uint64_t>(depth, 3)));
}

double expectedSearchSeconds(size_t bits, uint64_t depth, const SearchCosts& costs)
{
    const double d = static_cast<double>(std::max<uint64_t>(depth, 3));
    const double sievingPrimes = d / std::log(d);
    return expectedTests(bits, depth) * costs.testSeconds + sievingPrimes * costs.wordSeconds / primesPerWord(depth);
}

bool threadsPay(double expectedSeconds) { return expectedSeconds >= kThreadsPayFromSeconds; }

uint64_t depthByRemovalRule(size_t bits, const SearchCosts& costs)
{
    // Seconds of tests the prime p saves, against the seconds its residue
    // costs; the first falls with p and the second never does, so the rule
    // holds up to one crossing, found by bisection on log p.
    auto pays = [&](double p) {
        const uint64_t prime = static_cast<uint64_t>(p);
        const double saved = expectedTests(bits, prime) / p * costs.testSeconds;
        return saved > costs.wordSeconds / primesPerWord(prime);
    };
    double low = static_cast<double>(kShallowestDepth), high = static_cast<double>(kDeepestDepth);
    if (!pays(low))
        return kShallowestDepth;
    if (pays(high))
        return kDeepestDepth;
    while (high / low > 1.001) {
        const double middle = std::sqrt(low * high);
        (pays(middle) ? low : high) = middle;
    }
    return static_cast<uint64_t>(low);
}

}  // namespace engine
