#pragma once
// Trial factoring of a big number by every prime up to a depth. The primes
// are taken range by range, on several threads; the residues of the number
// modulo a range's primes come from engine/prime_residues.h (remainder trees
// once the number is long, so it is read once per range, not once per prime).
#include <cstdint>
#include <functional>
#include <vector>

#include <gmp.h>

namespace prp {

struct TrialSettings {
    uint64_t depth = 0;             // primes up to and including this
    unsigned threads = 1;
    bool stopAtFirstFactor = true;  // else scan the whole depth
};

struct TrialOutcome {
    std::vector<uint64_t> factors;  // distinct primes, ascending
    uint64_t depthScanned = 0;      // depth, lowered to sqrt(n) when smaller
    bool reachedSquareRoot = false; // no factor then means n is prime
};

// Called after each finished range with the count of finished ranges and
// the total; may be called from any worker thread, one call at a time.
using TrialProgress = std::function<void(size_t done, size_t total)>;

// With stopAtFirstFactor, the factors are those of the lowest range that
// holds any. n itself is never reported as its own factor.
TrialOutcome trialFactor(mpz_srcptr n, const TrialSettings& settings, const TrialProgress& progress = {});

}  // namespace prp
