#pragma once
// Mersenne numbers 2^q - 1: recognising them (the arithmetic's choice and
// the Lucas-Lehmer test both ask) and the divisors of their exponent.
#include <gmp.h>

namespace arithmetic {

// True when n = 2^q - 1 with q >= 2; q is then set.
bool isMersenneNumber(mpz_srcptr n, unsigned long& q);

// Smallest prime factor of q (q itself when q is prime); q >= 2.
unsigned long smallestPrimeFactor(unsigned long q);

}  // namespace arithmetic
