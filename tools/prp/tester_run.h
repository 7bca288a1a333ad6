#pragma once
// One run of the tester on one number: trial factoring, then the
// Lucas-Lehmer or Fermat test, as the options ask, ending in the result line.
#include <chrono>
#include <string>

#include "arguments.h"

namespace prp {

// Process exit statuses.
constexpr int kExitProbablePrime = 0;  // also "has no small factor"
constexpr int kExitComposite = 1;      // composite or factors found
constexpr int kExitError = 5;

struct RunOutcome {
    std::string resultLine;
    int exitStatus = kExitError;
};

// digits: the number as cleaned decimal text. started: when the process
// began, so that the line's overhead time covers reading and conversion.
RunOutcome runTester(const TesterOptions& options, const std::string& digits,
                     std::chrono::steady_clock::time_point started);

}  // namespace prp
