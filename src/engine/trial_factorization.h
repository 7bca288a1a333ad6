#pragma once
// Factoring of small numbers by trial division with the primes in order,
// bounded by a number of loop passes so that it always ends quickly.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// The loop above without its last step, for a caller that bounds it by time
// and judges the remainder itself: the primes divided out, and what is left
// with the reason the loop ended.
enum class TrialEnd {
    Factored,           // nothing left (the number was 0, 1 or fully divided)
    RemainderPrime,     // no prime up to its square root divides what is left
    PassLimit,          // the pass limit came first: what is left is unjudged
    Stopped,            // keepGoing said no: what is left is unjudged
    BeyondWordPrimes,   // the next prime left 64 bits (a pass limit that high)
};

struct TrialDivision {
    std::vector<uint64_t> primes;  // in the order found, repeated
    BigInt remainder;
    TrialEnd end = TrialEnd::Factored;
};

// keepGoing, when given, is asked every kPassesPerCheck passes with the
// passes made so far; false ends the loop where it is.
constexpr int64_t kPassesPerCheck = 64;
TrialDivision divideOutSmallPrimes(const BigInt& n, int64_t stepLimit,
                                   const std::function<bool(int64_t passes)>& keepGoing = {});

}  // namespace engine
