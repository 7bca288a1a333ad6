#pragma once
// Factoring of small numbers by trial division with the primes in order,
// bounded by a number of loop passes so that it always ends quickly.
#include <cstdint>
#include <string>

#include "engine/big_integer.h"

namespace engine {

// Passes of the trial loop: p reaches at most the 100,000th prime (1,299,709),
// so every number below 10^12 is factored completely.
constexpr int64_t kFactorStepLimit = 100000;

struct TrialFactorization {
    // Factors in the order found, separated by one blank; a prime dividing the
    // number k times is listed k times. A remainder that the pass limit left
    // unfactored is listed as a factor when it is a probable prime, otherwise
    // in brackets.
    std::string factors;
    int64_t count = 0;                   // entries listed, a bracketed remainder included
    bool compositeRemainder = false;     // the last entry is "[m]"
    bool onlyFactorIsTheNumber = false;  // one entry, and it is n itself
};

TrialFactorization factorByTrialDivision(const BigInt& n, int64_t stepLimit = kFactorStepLimit);

}  // namespace engine
