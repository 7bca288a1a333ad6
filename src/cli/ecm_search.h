#pragma once
// Factors beyond trial division: GMP-ECM curves at growing B1, one curve a
// call, until every part is prime or the deadline or curve budget comes.
#include <chrono>
#include <cstdint>
#include <vector>

#include "engine/big_integer.h"

namespace cli {

struct EcmBudget {
    std::chrono::steady_clock::time_point deadline;
    int64_t curves = 0;  // 0: only the deadline bounds the run
};

enum class PartKind {
    Prime,      // a probable prime
    Composite,  // known composite, left unsplit when the budget ended
    Unknown,    // the budget ended before its test did
};

struct FactorPart {
    engine::BigInt value;
    PartKind kind = PartKind::Unknown;
};

// Splits a number known to be composite into probable primes and, when the
// budget ends first, the composite parts left; in no particular order.
[[nodiscard]] std::vector<FactorPart> splitWithEcm(const engine::BigInt& composite, const EcmBudget& budget);

}  // namespace cli
