#pragma once
// The program's own previous-prime routine (init once, then in-place calls).
#include <gmp.h>

namespace engine {

// Prepares the small-prime table the routine sieves with. Call once at start.
void primeLibraryInit();

// n becomes the largest probable prime below its old value (judged by
// mpz_probab_prime_p with 25 repetitions). n <= 2 has no prime below it and
// becomes 0.
void previousPrimeStepwise(mpz_ptr n);

}  // namespace engine
