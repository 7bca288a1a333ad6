#include "cli/block_search.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "engine/prime_search.h"

namespace cli {

namespace {

using engine::BigInt;
using engine::SearchDirection;

constexpr uint64_t kNoBlock = std::numeric_limits<uint64_t>::max();

struct BlockPlan {
    uint32_t odds;   // odd candidates per block
    uint64_t depth;  // sieve depth of a block
    double meanGapOdds;
};

// A round covers a quarter of the mean prime gap, so the round that finds the
// prime overshoots it by an eighth of a gap on average: with two ranks a few
// percent of the work is lost, and with many ranks a prime still needs only
// a few rounds. The sieve of a block costs one residue per sieving prime
// whatever the block's length, so a short block sieves less deeply than the
// engine's long interval, in proportion to its length.
BlockPlan planFor(size_t bits, int ranks)
{
    BlockPlan plan;
    plan.meanGapOdds = static_cast<double>(bits) * std::log(2.0) / 2;
    plan.odds = static_cast<uint32_t>(std::clamp(plan.meanGapOdds / (4.0 * ranks), 16.0, double(1u << 20)));
    const double engineIntervalOdds = 5.6 * static_cast<double>(bits);
    const double engineDepth = static_cast<double>(engine::sieveDepthFor(bits));
    plan.depth = static_cast<uint64_t>(std::clamp(engineDepth * plan.odds / engineIntervalOdds, 1000.0, engineDepth));
    return plan;
}

// The engine's search on every core, on a thread of its own so that this one
// can show progress: the share of the survivors a mean gap holds that have
// been tested, read as the chance that the prime has been reached.
void engineSearch(BigInt& n, SearchDirection direction, Progress& progress)
{
    std::atomic<uint64_t> tested{0};
    engine::PrimeSearchTuning tuning;
    tuning.survivorsTested = &tested;
    std::atomic<bool> done{false};
    std::thread search([&] {
        if (direction == SearchDirection::Up)
            engine::nextPrime(n, tuning);
        else
            engine::previousPrime(n, tuning);
        done = true;
    });
    const size_t bits = mpz_sizeinbase(n.get(), 2);
    const double depth = static_cast<double>(engine::sieveDepthFor(bits));
    const double meanSurvivors = static_cast<double>(bits) * std::log(2.0) / 2 * 1.123 / std::log(depth);
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        progress.update(1 - std::exp(-static_cast<double>(tested) / meanSurvivors));
    }
    search.join();
}

void blockBase(BigInt& base, const BigInt& first, SearchDirection direction, uint64_t offsetOdds)
{
    BigInt step;
    mpz_set_ui(step.get(), 2);
    mpz_mul_ui(step.get(), step.get(), offsetOdds);
    if (direction == SearchDirection::Up)
        mpz_add(base.get(), first.get(), step.get());
    else
        mpz_sub(base.get(), first.get(), step.get());
}

}  // namespace

void searchPrime(BigInt& n, SearchDirection direction, Ranks& ranks, Progress& progress)
{
    if (!ranks.distributed() || !engine::searchesBySieve(n)) {
        engineSearch(n, direction, progress);
        return;
    }
    const BlockPlan plan = planFor(mpz_sizeinbase(n.get(), 2), ranks.size());
    BigInt first, base, prime;
    engine::firstOddBeyond(first, n, direction);
    const uint64_t size = static_cast<uint64_t>(ranks.size());
    for (uint64_t round = 0;; ++round) {
        const uint64_t block = round * size + static_cast<uint64_t>(ranks.rank());
        blockBase(base, first, direction, block * plan.odds);
        const bool found = engine::firstPrimeInBlock(base, direction, plan.odds, plan.depth, 1, prime);
        const uint64_t answer = ranks.lowest(found ? block : kNoBlock);
        if (answer != kNoBlock) {
            const int owner = static_cast<int>(answer % size);
            if (ranks.rank() == owner)
                n.swap(prime);
            ranks.share(n, owner);
            return;
        }
        const double searchedOdds = static_cast<double>((round + 1) * size * plan.odds);
        progress.update(1 - std::exp(-searchedOdds / plan.meanGapOdds));
    }
}

}  // namespace cli
