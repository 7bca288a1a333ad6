#include "cli/block_search.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cmath>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/prime_confirmation.h"
#include "engine/prime_search.h"
#include "engine/search_plan.h"

namespace cli {

namespace {

using engine::BigInt;
using engine::SearchDirection;

constexpr uint64_t kNone = std::numeric_limits<uint64_t>::max();

// Rounds per expected search: the round that meets the prime tests on past
// it on the other ranks, half a round on average, so 32 rounds lose about
// 1.5 % of the work; a round's agreement costs a fraction of a millisecond.
constexpr double kRoundsPerSearch = 32;

// The engine's whole search on this process, on a thread of its own so that
// this one can show its counts.
void searchAlone(BigInt& n, SearchDirection direction, unsigned threads, Progress& progress)
{
    engine::SearchProgress counts;
    engine::PrimeSearchTuning tuning;
    tuning.threads = threads;
    tuning.progress = &counts;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread search([&] {
        if (direction == SearchDirection::Up)
            engine::nextPrime(n, tuning);
        else
            engine::previousPrime(n, tuning);
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    });
    const size_t bits = mpz_sizeinbase(n.get(), 2);
    // Woken at the end, so that a search of a millisecond takes one.
    for (std::unique_lock lock(mutex); !finished.wait_for(lock, std::chrono::milliseconds(50), [&] { return done; });)
        if (const uint64_t depth = counts.depth)
            progress.search({counts.candidatesSieved, counts.survivorsTested, engine::expectedTests(bits, depth)});
    search.join();
}

// The leader's plan, taken by every rank: they must sieve alike.
engine::SearchPlan sharedPlan(const BigInt& base, unsigned threads, Ranks& ranks)
{
    engine::SearchPlan plan;
    if (ranks.leader()) {
        engine::PrimeSearchTuning tuning;
        tuning.threads = threads;
        plan = engine::planSearch(base, tuning);
    }
    plan.threads = static_cast<unsigned>(ranks.share(plan.threads, 0));
    plan.intervalOdds = static_cast<uint32_t>(ranks.share(plan.intervalOdds, 0));
    plan.depth = ranks.share(plan.depth, 0);
    plan.layout = engine::testLayoutFor(mpz_sizeinbase(base.get(), 2), plan.threads);
    return plan;
}

// The survivors of one interval and this rank's share of them: survivor i
// is tested by rank i mod N, as mine[i / N].
struct DealtSurvivors {
    std::vector<uint32_t> all;
    std::vector<uint32_t> mine;
    uint64_t rank = 0, ranks = 1;

    // Index in mine of the first of this rank's survivors at or after the
    // survivor `index` of all.
    size_t firstMineFrom(uint64_t index) const { return index > rank ? (index - rank + ranks - 1) / ranks : 0; }
};

DealtSurvivors survivorsOf(const BigInt& base, SearchDirection direction, const engine::SearchPlan& plan, Ranks& ranks)
{
    engine::SieveSettings sieve;
    sieve.threads = plan.threads;
    sieve.share = static_cast<uint32_t>(ranks.rank());
    sieve.shares = static_cast<uint32_t>(ranks.size());
    std::vector<uint8_t> marks = engine::sieveMarks(base, direction, plan.intervalOdds, plan.depth, sieve);
    ranks.combine(marks);
    DealtSurvivors dealt;
    dealt.all = engine::unstruck(marks);
    dealt.rank = static_cast<uint64_t>(ranks.rank());
    dealt.ranks = static_cast<uint64_t>(ranks.size());
    for (size_t i = dealt.rank; i < dealt.all.size(); i += dealt.ranks)
        dealt.mine.push_back(dealt.all[i]);
    return dealt;
}

// GMP's full test of the one candidate, its two parts on two ranks.
bool confirmedOnRanks(const BigInt& candidate, unsigned threads, Ranks& ranks)
{
    bool passed = true;
    if (ranks.size() == 1)
        passed = engine::confirmedPrime(candidate.get(), threads);
    else if (ranks.rank() == 0)
        passed = engine::passesBailliePsw(candidate.get());
    else if (ranks.rank() == 1)
        passed = engine::passesGmpsRandomRound(candidate.get());
    return ranks.lowest(passed ? 1 : 0) == 1;
}

void searchOnRanks(BigInt& n, SearchDirection direction, Ranks& ranks, unsigned threads, Progress& progress)
{
    BigInt base, candidate;
    engine::firstOddBeyond(base, n, direction);
    const engine::SearchPlan plan = sharedPlan(base, threads, ranks);
    const size_t bits = mpz_sizeinbase(base.get(), 2);
    const double expected = engine::expectedTests(bits, plan.depth);
    const uint64_t size = static_cast<uint64_t>(ranks.size());
    // Tests of one rank in a round, a whole number of its workers.
    const uint64_t workers = plan.layout.workers;
    const uint64_t perRank =
        workers * std::max<uint64_t>(1, static_cast<uint64_t>(std::ceil(expected / (kRoundsPerSearch * size * workers))));
    SearchCounts counts{0, 0, expected};
    for (;;) {
        const DealtSurvivors dealt = survivorsOf(base, direction, plan, ranks);
        counts.sieved += plan.intervalOdds;
        for (uint64_t from = 0; from < dealt.all.size();) {
            const uint64_t to = std::min<uint64_t>(from + perRank * size, dealt.all.size());
            const size_t hit = engine::firstPassingSurvivor(base, direction, dealt.mine, dealt.firstMineFrom(from),
                                                            dealt.firstMineFrom(to), plan.layout);
            const uint64_t lowest = ranks.lowest(hit == engine::kNoSurvivor ? kNone : hit * size + dealt.rank);
            counts.tested += (lowest == kNone ? to : lowest + 1) - from;
            progress.search(counts);
            if (lowest == kNone) {
                from = to;
                continue;
            }
            engine::candidateAt(candidate, base, direction, dealt.all[lowest]);
            if (confirmedOnRanks(candidate, plan.threads, ranks)) {
                n.swap(candidate);
                return;
            }
            from = lowest + 1;
        }
        engine::candidateAt(base, base, direction, plan.intervalOdds);
    }
}

}  // namespace

void searchPrime(BigInt& n, SearchDirection direction, Ranks& ranks, unsigned threads, Progress& progress)
{
    if (ranks.size() == 1 || !engine::searchesBySieve(n))
        searchAlone(n, direction, threads, progress);
    else
        searchOnRanks(n, direction, ranks, threads, progress);
}

}  // namespace cli
