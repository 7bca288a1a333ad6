#pragma once
// Factoring by PARI's factorint: Pollard rho, SQUFOF, ECM and the
// quadratic sieve (MPQS), as PARI chooses them. Its factors are BPSW
// probable primes (no composite passing BPSW is known).
//
// The call runs to its end: PARI's sieve has no stop of its own. A caller
// with a time budget runs it in a worker process that it can end (the CLI's
// factor does, as it does its ECM).
#include <string>
#include <vector>

#include "pari_library/pari_session.h"

namespace pari_library {

// The prime factors of n (decimal digits, n >= 2), ascending, each repeated
// by its multiplicity. Throws PariError when PARI fails.
std::vector<std::string> factorCompletely(const std::string& digits);

}  // namespace pari_library
