#include "engine/prime_search.h"

#include <cassert>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "arithmetic/strong_test.h"
#include "engine/candidate_sieve.h"
#include "engine/prime_confirmation.h"
#include "engine/prime_library.h"
#include "engine/search_plan.h"

namespace engine {

namespace {

// Up to 64 bits GMP's own routines are exact and take microseconds; the sieve
// also needs every candidate to exceed its depth, which holds beyond 2^64.
bool isSmall(const BigInt& n) { return mpz_sgn(n.get()) <= 0 || mpz_sizeinbase(n.get(), 2) <= 64; }

unsigned threadsFor(const PrimeSearchTuning& tuning)
{
    if (tuning.threads)
        return tuning.threads;
    return std::max(std::thread::hardware_concurrency(), 1u);
}

// One tester of the survivors: the index it is testing, and the flag that
// abandons that test once a lower index has passed.
struct Worker {
    std::atomic<size_t> testing{kNoSurvivor};
    std::atomic<bool> abandon{false};
};

}  // namespace

// Workers take survivors in order and never one beyond a passing index, and
// a pass abandons the tests of higher indices, so when the workers end every
// survivor before the result has failed.
size_t firstPassingSurvivor(const BigInt& base, SearchDirection direction, const std::vector<uint32_t>& survivors,
                            size_t from, size_t to, const TestLayout& layout, std::atomic<uint64_t>* tested)
{
    to = std::min(to, survivors.size());
    std::atomic<size_t> next{from};
    std::atomic<size_t> best{kNoSurvivor};
    std::vector<Worker> workers(layout.workers);
    auto testInOrder = [&](Worker& me) {
        BigInt candidate;
        arithmetic::LongRunSettings settings;
        settings.threads = layout.threadsPerTest;
        settings.abandon = &me.abandon;
        for (;;) {
            const size_t i = next++;
            // Announce i before looking at best: a worker that lowers best
            // below i then either is seen here or sees i and abandons it.
            me.abandon = false;
            me.testing = i;
            if (i >= to || i >= best)
                return;
            candidateAt(candidate, base, direction, survivors[i]);
            const arithmetic::StrongTestResult result = arithmetic::strongProbablePrimeTest(candidate.get(), 2, settings);
            if (result == arithmetic::StrongTestResult::Abandoned)
                continue;
            if (tested)
                ++*tested;
            if (result == arithmetic::StrongTestResult::Composite)
                continue;
            size_t seen = best;
            while (i < seen && !best.compare_exchange_weak(seen, i)) {
            }
            for (Worker& other : workers)
                if (other.testing > i)
                    other.abandon = true;
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned w = 1; w < layout.workers; ++w)
        helpers.emplace_back(testInOrder, std::ref(workers[w]));
    testInOrder(workers[0]);
    for (std::thread& helper : helpers)
        helper.join();
    return best;
}

namespace {

// The first survivor that passes the strong test is confirmed with GMP's
// full test; one that fails the confirmation is passed over and the testing
// goes on after it.
bool firstPrimeAmong(const BigInt& base, SearchDirection direction, const std::vector<uint32_t>& survivors,
                     const TestLayout& layout, BigInt& prime, std::atomic<uint64_t>* tested)
{
    BigInt candidate;
    for (size_t from = 0;;) {
        const size_t hit = firstPassingSurvivor(base, direction, survivors, from, kNoSurvivor, layout, tested);
        if (hit == kNoSurvivor)
            return false;
        candidateAt(candidate, base, direction, survivors[hit]);
        if (confirmedPrime(candidate.get(), layout.workers * layout.threadsPerTest)) {
            prime.swap(candidate);
            return true;
        }
        from = hit + 1;
    }
}

}  // namespace

void candidateAt(BigInt& candidate, const BigInt& base, SearchDirection direction, uint32_t offset)
{
    if (direction == SearchDirection::Up)
        mpz_add_ui(candidate.get(), base.get(), 2ul * offset);
    else
        mpz_sub_ui(candidate.get(), base.get(), 2ul * offset);
}

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

bool firstPrimeInBlock(const BigInt& base, SearchDirection direction, uint32_t odds, uint64_t depth, unsigned threads,
                       BigInt& prime, std::atomic<uint64_t>* survivorsTested)
{
    std::vector<uint32_t> survivors = sieveCandidates(base, direction, odds, depth, threads);
    const TestLayout layout = testLayoutFor(mpz_sizeinbase(base.get(), 2), threads);
    return firstPrimeAmong(base, direction, survivors, layout, prime, survivorsTested);
}

bool searchesBySieve(const BigInt& n) { return !isSmall(n); }

SearchPlan planSearch(const BigInt& base, const PrimeSearchTuning& tuning)
{
    const size_t bits = mpz_sizeinbase(base.get(), 2);
    SearchPlan plan;
    plan.threads = threadsFor(tuning);
    plan.layout = testLayoutFor(bits, plan.threads);
    plan.intervalOdds = tuning.intervalOdds ? tuning.intervalOdds : intervalOddsFor(bits);
    plan.depth = tuning.sieveDepth;
    if (!plan.depth) {
        const SearchCosts costs = measureSearchCosts(base, plan.intervalOdds, plan.layout);
        plan.depth = depthByRemovalRule(bits, costs);
        // A search of a millisecond or so runs on this thread alone, unless
        // the caller asked for threads.
        if (!tuning.threads && !threadsPay(expectedSearchSeconds(bits, plan.depth, costs))) {
            plan.threads = 1;
            plan.layout = testLayoutFor(bits, 1);
        }
    }
    return plan;
}

namespace {

// Intervals beyond n, sieved as deep as pays, until one holds a prime.
void sieveAndTest(BigInt& n, SearchDirection direction, const PrimeSearchTuning& tuning)
{
    assert(mpz_sgn(n.get()) > 0 && "the searches work on positive numbers");
    BigInt base;
    firstOddBeyond(base, n, direction);
    const SearchPlan plan = planSearch(base, tuning);
    SearchProgress unwatched;
    SearchProgress& progress = tuning.progress ? *tuning.progress : unwatched;
    progress.depth = plan.depth;
    SieveSettings sieve;
    sieve.threads = plan.threads;
    sieve.primesDone = &progress.sievingPrimesDone;
    std::atomic<uint64_t>& tested = tuning.survivorsTested ? *tuning.survivorsTested : progress.survivorsTested;
    for (;;) {
        progress.sievingPrimesDone = 0;
        const std::vector<uint32_t> survivors = unstruck(sieveMarks(base, direction, plan.intervalOdds, plan.depth, sieve));
        progress.candidatesSieved += plan.intervalOdds;
        if (firstPrimeAmong(base, direction, survivors, plan.layout, n, &tested))
            return;
        candidateAt(base, base, direction, plan.intervalOdds);
    }
}

}  // namespace

uint64_t sieveDepthFor(size_t bits)
{
    BigInt sample;
    mpz_setbit(sample.get(), bits - 1);
    mpz_setbit(sample.get(), 0);
    const unsigned threads = std::max(std::thread::hardware_concurrency(), 1u);
    return depthByRemovalRule(bits, measureSearchCosts(sample, intervalOddsFor(bits), testLayoutFor(bits, threads)));
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
