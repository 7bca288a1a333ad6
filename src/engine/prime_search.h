#pragma once
// Prime searches used by the generator and the calculator. Both run inside a
// worker (see worker_run.h) and may use every core.
#include "engine/big_integer.h"

namespace engine {

// n becomes the smallest probable prime above n: the same number as
// mpz_nextprime gives (2 for n < 2).
void nextPrime(BigInt& n);

// n becomes the largest probable prime below n; n <= 2 (no prime below it)
// gives 0.
void previousPrime(BigInt& n);

}  // namespace engine
