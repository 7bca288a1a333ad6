#include "trial_factoring.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>

#include "engine/big_integer.h"
#include "engine/prime_residues.h"
#include "engine/prime_tables.h"

namespace prp {

namespace {

using arithmetic::BigInt;

// Range lengths: the product of a range's primes has about 1.44 bits per
// number in the range, so a range as long as n has bits gives a product of
// about n's size, one batch of the remainder trees (engine/prime_residues.h).
constexpr uint64_t kMinRange = uint64_t{1} << 16;
constexpr uint64_t kMaxRange = uint64_t{1} << 22;
constexpr uint64_t kDirectRange = uint64_t{1} << 20;

// The primes of one range that divide n (n itself excepted).
void scanRange(mpz_srcptr n, std::vector<uint64_t> primes, std::vector<uint64_t>& factors)
{
    const engine::PrimeWords packed = engine::packIntoWords(std::move(primes));
    engine::forEachPrimeResidue(packed, engine::residuesModuloWords(n, packed.words), [&](uint64_t p, uint64_t r) {
        if (r == 0 && mpz_cmp_ui(n, p) != 0)
            factors.push_back(p);
    });
}

uint64_t scanLimit(mpz_srcptr n, uint64_t depth, bool& reachedSquareRoot)
{
    // Past 128 bits the square root exceeds every depth; skip the root of a
    // huge n.
    reachedSquareRoot = false;
    if (mpz_sizeinbase(n, 2) > 128)
        return depth;
    BigInt root;
    mpz_sqrt(root.get(), n);
    reachedSquareRoot = mpz_cmp_ui(root.get(), depth) <= 0;
    return reachedSquareRoot ? mpz_get_ui(root.get()) : depth;
}

uint64_t rangeLength(mpz_srcptr n)
{
    if (mpz_size(n) < engine::remainderTreeMinimumLimbs())
        return kDirectRange;
    auto length = static_cast<uint64_t>(static_cast<double>(mpz_sizeinbase(n, 2)) / 1.4427);
    return std::clamp(length, kMinRange, kMaxRange);
}

}  // namespace

TrialOutcome trialFactor(mpz_srcptr n, const TrialSettings& settings, const TrialProgress& progress)
{
    TrialOutcome outcome;
    if (settings.depth < 2 || mpz_cmp_ui(n, 4) < 0)
        return outcome;
    uint64_t limit = scanLimit(n, settings.depth, outcome.reachedSquareRoot);
    outcome.depthScanned = limit;

    const uint64_t length = rangeLength(n);
    const size_t rangeCount = static_cast<size_t>((limit - 1 + length - 1) / length);  // ranges cover [2, limit]

    std::vector<std::vector<uint64_t>> rangeFactors(rangeCount);
    std::atomic<size_t> nextRange{0};
    std::atomic<size_t> firstHit{rangeCount};
    std::atomic<size_t> done{0};
    std::mutex progressLock;

    auto work = [&] {
        for (;;) {
            size_t index = nextRange.fetch_add(1);
            if (index >= rangeCount || (settings.stopAtFirstFactor && index > firstHit.load()))
                return;
            uint64_t lo = 2 + index * length;
            uint64_t hi = std::min(lo + length, limit + 1);
            scanRange(n, engine::primesInRange(lo, hi), rangeFactors[index]);
            if (!rangeFactors[index].empty()) {
                size_t seen = firstHit.load();
                while (index < seen && !firstHit.compare_exchange_weak(seen, index)) {
                }
            }
            size_t finished = done.fetch_add(1) + 1;
            if (progress) {
                std::lock_guard<std::mutex> hold(progressLock);
                progress(finished, rangeCount);
            }
        }
    };

    // A failure on any thread (no memory for a range's residues) ends every
    // thread's work and reaches the caller from here, as one error.
    std::mutex failureLock;
    std::exception_ptr failure;
    auto guardedWork = [&] {
        try {
            work();
        } catch (...) {
            nextRange = rangeCount;
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure)
                failure = std::current_exception();
        }
    };
    unsigned threadCount = std::max(1u, std::min<unsigned>(settings.threads, static_cast<unsigned>(rangeCount)));
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threadCount; ++t) {
        try {
            helpers.emplace_back(guardedWork);
        } catch (const std::system_error&) {
            break;  // no room for another thread (a memory limit): fewer threads share the ranges
        }
    }
    guardedWork();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);

    if (settings.stopAtFirstFactor) {
        if (firstHit.load() < rangeCount)
            outcome.factors = rangeFactors[firstHit.load()];
    } else {
        for (const std::vector<uint64_t>& found : rangeFactors)
            outcome.factors.insert(outcome.factors.end(), found.begin(), found.end());
    }
    return outcome;
}

}  // namespace prp
