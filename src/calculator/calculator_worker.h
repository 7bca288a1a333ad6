#pragma once
// The arithmetic of the slow operations, computed in a forked child on
// copy-on-write inputs: STOP or the time limit ends the child at once and
// leaves every input as it was; a child that runs out of memory is reported,
// never a crash of the window.
#include <gmp.h>

#include <string>

#include "engine/big_integer.h"
#include "engine/worker_run.h"
#include "shell/app_context.h"

namespace calculator {

// What a worker step computes with: A, the operand B, the memory M and e.
struct Operands {
    mpz_srcptr a;
    mpz_srcptr b;
    mpz_srcptr memory;
    unsigned long e;  // exponent, root degree or added value
};

struct WorkerResult {
    engine::BigInt value;
    engine::BigInt remainder;  // RootRem
    bool exact = false;        // Root: the root is exact
    std::string failure;       // why a Failed run failed
};

// One operation's computation inside the child.
using WorkerStep = void (*)(const Operands& in, WorkerResult& out);

struct WorkerInputs {
    // A is made from the current number inside the child: the parent never
    // waits for that conversion, and STOP ends it like the rest.
    const std::string& number;
    const engine::BigInt& b;
    const engine::BigInt& memory;
    unsigned long e;
};

// Outcome Finished fills result; any other outcome leaves it empty.
[[nodiscard]] engine::Outcome runCalculatorWorker(shell::AppContext& ctx, WorkerStep step, const WorkerInputs& in,
                                                  WorkerResult& result);

// NextP and PrevP: the engine's search runs, with the calculator's limits.
using SearchStep = engine::Outcome (*)(engine::WorkerHost& host, engine::BigInt& n, engine::RunLimits limits);

// n becomes the prime found when the run finishes.
[[nodiscard]] engine::Outcome runPrimeSearch(shell::AppContext& ctx, SearchStep step, engine::BigInt& n);

}  // namespace calculator
