#pragma once
// Factoring by PARI's factorint: Pollard rho, SQUFOF, ECM and the
// quadratic sieve (MPQS), as PARI chooses them. Its factors are BPSW
// probable primes (no composite passing BPSW is known).
//
// The factoring runs in a child process, so that a run past its time is
// ended at once (PARI's sieve cannot be stopped from outside otherwise) and
// whatever PARI does to its memory stays in the child. The child dies with
// the program.
#include <functional>
#include <string>
#include <vector>

#include "pari_library/pari_session.h"

namespace pari_library {

struct Factoring {
    bool complete = false;             // false: the time ran out or the caller stopped it first
    std::vector<std::string> primes;   // decimal, ascending, repeated by multiplicity
};

// Factors n (decimal digits, n >= 2) within `seconds`. While it waits,
// `keepWaiting` is called ten times a second with the seconds spent so far;
// false from it ends the child at once, as the end of the time does. Throws
// PariError when PARI fails or the child cannot be started.
Factoring factorCompletely(const std::string& digits, double seconds,
                           const std::function<bool(double elapsed)>& keepWaiting = nullptr);

}  // namespace pari_library
