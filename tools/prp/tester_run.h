#pragma once
// One run of the tester on one number: trial factoring, then the
// Lucas-Lehmer or Fermat test, as the options ask, ending in the result line.
#include <chrono>
#include <string>

#include "arguments.h"
#include "arithmetic/long_run.h"

namespace prp {

// Process exit statuses.
constexpr int kExitProbablePrime = 0;  // also "has no small factor"
constexpr int kExitComposite = 1;      // composite or factors found
constexpr int kExitInterrupted = 3;    // SIGTERM, SIGINT or SIGHUP; the checkpoint holds the work
constexpr int kExitError = 5;

struct RunOutcome {
    std::string resultLine;  // empty: none (the run was interrupted)
    int exitStatus = kExitError;
};

// digits: the number as cleaned decimal text. started: when the process
// began, so that the line's overhead time covers reading and conversion.
// stop: the request the signals make (process_guards.h). Throws
// std::runtime_error (a test the memory cannot hold, an arithmetic the
// checks find unreliable) and std::bad_alloc.
RunOutcome runTester(const TesterOptions& options, const std::string& digits,
                     std::chrono::steady_clock::time_point started, arithmetic::StopRequest& stop);

}  // namespace prp
