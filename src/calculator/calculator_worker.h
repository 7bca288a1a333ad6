#pragma once
// The arithmetic of the slow operations, computed in a forked child on
// copy-on-write inputs: STOP or the time limit ends the child at once and
// leaves every input as it was; a child that runs out of memory is reported,
// never a crash of the window.
#include <string>

#include "calculator/operation_table.h"
#include "engine/big_integer.h"
#include "engine/worker_run.h"
#include "shell/app_context.h"

namespace calculator {

struct WorkerInputs {
    OperationCode code;
    // A is made from the current number inside the child: the parent never
    // waits for that conversion, and STOP ends it like the rest.
    const std::string& number;
    const engine::BigInt& b;
    const engine::BigInt& memory;
    unsigned long e;  // exponent, root degree or added value
};

struct WorkerResult {
    engine::BigInt value;
    engine::BigInt remainder;  // RootRem
    bool exact = false;        // Root: the root is exact
    std::string failure;       // why a Failed run failed
};

// Outcome Finished fills result; any other outcome leaves it empty.
engine::Outcome runCalculatorWorker(shell::AppContext& ctx, const WorkerInputs& in, WorkerResult& result);

// NextP and PrevP: n becomes the prime found when the run finishes.
engine::Outcome runPrimeSearch(shell::AppContext& ctx, OperationCode code, engine::BigInt& n);

}  // namespace calculator
