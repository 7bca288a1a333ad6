#pragma once
// Strong probable-prime test (Miller-Rabin) to a small base b: with
// n - 1 = d * 2^s, d odd, n passes when b^d = 1 or b^(d * 2^j) = -1 (mod n)
// for some j < s. Every prime passes. The prime searches run it to base 2 on
// each candidate their sieve leaves and confirm only the one that passes.
#include <gmp.h>

#include "arithmetic/long_run.h"

namespace arithmetic {

enum class StrongTestResult { ProbablePrime, Composite, Abandoned };

// n odd and above base + 1. The arithmetic goes by n's size: where the
// processor has AVX-512 IFMA and n has a few thousand bits, the IFMA
// Montgomery arithmetic (ifma_montgomery.h); else below the FFT crossover
// b^d is one mpz_powm, whose Montgomery windows are GMP's fastest there;
// from the crossover on it is a checkedPower on the registers of
// makeModularArithmetic (settings' threads, the round-off check of every
// product, the Gerbicz check). The squarings after b^d run on the same
// arithmetic. No checkpoints: a test is one step of a search. Abandoned when
// the settings' abandon flag rises during a register run; a fault the checks
// cannot cure throws std::runtime_error as checkedPower does.
StrongTestResult strongProbablePrimeTest(mpz_srcptr n, unsigned long base, const LongRunSettings& settings);

// Seconds one strong test of a number of n's size takes on `threads`
// threads, from a sample of the same arithmetic (about 1/16 of a test below
// the FFT crossover, 32 steps above it): processor time of this thread for one
// thread, which other programs on the machine hardly change; wall time for
// more.
double strongTestSeconds(mpz_srcptr n, unsigned long base, unsigned threads);

}  // namespace arithmetic
