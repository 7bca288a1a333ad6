#include "trial_factoring.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>

#include "engine/big_integer.h"
#include "engine/prime_tables.h"

namespace prp {

namespace {

using arithmetic::BigInt;

// Up to this many limbs, reducing n by each word directly beats a tree.
constexpr size_t kDirectLimbs = 8;
// Words per product-tree leaf; a leaf residue is reduced by each word.
constexpr size_t kLeafWords = 16;
// Range lengths: the product of a range's primes has about 1.44 bits per
// number in the range, so a range as long as n has bits gives a product of
// about n's size, where one division of n does the most good.
constexpr uint64_t kMinRange = uint64_t{1} << 16;
constexpr uint64_t kMaxRange = uint64_t{1} << 22;
constexpr uint64_t kDirectRange = uint64_t{1} << 20;

// Primes packed into single-limb products, with the primes each one holds.
struct PrimeWords {
    std::vector<uint64_t> words;
    std::vector<size_t> firstPrime;  // index into primes; one more than words
    std::vector<uint64_t> primes;
};

PrimeWords packIntoWords(std::vector<uint64_t> primes)
{
    PrimeWords packed;
    uint64_t product = 1;
    for (size_t i = 0; i < primes.size(); ++i) {
        if (product > std::numeric_limits<uint64_t>::max() / primes[i]) {
            packed.words.push_back(product);
            product = 1;
        }
        if (product == 1)
            packed.firstPrime.push_back(i);
        product *= primes[i];
    }
    if (product != 1)
        packed.words.push_back(product);
    packed.firstPrime.push_back(primes.size());
    packed.primes = std::move(primes);
    return packed;
}

class RangeScanner {
public:
    RangeScanner(mpz_srcptr n, std::vector<uint64_t>& factors) : n_(n), factors_(factors) {}

    void scan(const PrimeWords& packed)
    {
        if (mpz_size(n_) <= kDirectLimbs) {
            for (size_t w = 0; w < packed.words.size(); ++w)
                checkWord(packed, w, mpz_tdiv_ui(n_, packed.words[w]));
            return;
        }
        scanWithTree(packed);
    }

private:
    void checkWord(const PrimeWords& packed, size_t word, uint64_t residue)
    {
        for (size_t i = packed.firstPrime[word]; i < packed.firstPrime[word + 1]; ++i) {
            uint64_t p = packed.primes[i];
            if (residue % p == 0 && mpz_cmp_ui(n_, p) != 0)
                factors_.push_back(p);
        }
    }

    void scanWithTree(const PrimeWords& packed)
    {
        size_t leafCount = (packed.words.size() + kLeafWords - 1) / kLeafWords;
        std::vector<std::vector<BigInt>> levels(1);
        levels[0].resize(leafCount);
        for (size_t leaf = 0; leaf < leafCount; ++leaf) {
            mpz_set_ui(levels[0][leaf].get(), 1);
            for (size_t w = leaf * kLeafWords; w < std::min(packed.words.size(), (leaf + 1) * kLeafWords); ++w)
                mpz_mul_ui(levels[0][leaf].get(), levels[0][leaf].get(), packed.words[w]);
        }
        while (levels.back().size() > 1) {
            const std::vector<BigInt>& below = levels.back();
            std::vector<BigInt> above((below.size() + 1) / 2);
            for (size_t i = 0; i < above.size(); ++i) {
                if (2 * i + 1 < below.size())
                    mpz_mul(above[i].get(), below[2 * i].get(), below[2 * i + 1].get());
                else
                    above[i].set(below[2 * i]);
            }
            levels.push_back(std::move(above));
        }

        std::vector<BigInt> residues(1);
        mpz_tdiv_r(residues[0].get(), n_, levels.back()[0].get());
        for (size_t level = levels.size() - 1; level-- > 0;) {
            const std::vector<BigInt>& nodes = levels[level];
            std::vector<BigInt> next(nodes.size());
            for (size_t i = 0; i < nodes.size(); ++i)
                mpz_tdiv_r(next[i].get(), residues[i / 2].get(), nodes[i].get());
            residues = std::move(next);
        }

        for (size_t leaf = 0; leaf < leafCount; ++leaf)
            for (size_t w = leaf * kLeafWords; w < std::min(packed.words.size(), (leaf + 1) * kLeafWords); ++w)
                checkWord(packed, w, mpz_tdiv_ui(residues[leaf].get(), packed.words[w]));
    }

    mpz_srcptr n_;
    std::vector<uint64_t>& factors_;
};

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
    if (mpz_size(n) <= kDirectLimbs)
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
            RangeScanner(n, rangeFactors[index]).scan(packIntoWords(engine::primesInRange(lo, hi)));
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

    unsigned threadCount = std::max(1u, std::min<unsigned>(settings.threads, static_cast<unsigned>(rangeCount)));
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threadCount; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no room for another thread (a memory limit): fewer threads share the ranges
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();

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
