#pragma once
// Factors beyond trial division: GMP-ECM curves at growing B1, one curve a
// call, until every part is prime or the time or curve budget runs out.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/progress.h"

namespace cli {

struct EcmBudget {
    double seconds = 60;
    int64_t curves = 0;  // 0: only the time bounds the run
};

struct FactorPart {
    std::string value;  // decimal
    bool prime = false; // probable prime; false: a composite left by the budget
};

// Splits the composite into probable primes and, when the budget ends first,
// the composite parts left. The parts come out in ascending order.
std::vector<FactorPart> splitWithEcm(const std::string& composite, const EcmBudget& budget, Progress& progress);

}  // namespace cli
