#pragma once
// Mersenne numbers 2^q - 1: recognising them and the Lucas-Lehmer test,
// which proves such a number prime or composite.
#include <cstdint>

#include <gmp.h>

namespace prp {

// True when n = 2^q - 1 with q >= 2; q is then set.
bool isMersenneNumber(mpz_srcptr n, unsigned long& q);

// Smallest prime factor of q (q itself when q is prime); q >= 2.
unsigned long smallestPrimeFactor(unsigned long q);

struct LucasLehmerOutcome {
    bool prime = false;
    uint64_t res64 = 0;  // low 64 bits of the last term
    double seconds = 0;
};

// Decides 2^q - 1 for a prime q: s(0) = 4, s(i+1) = s(i)^2 - 2, and 2^q - 1
// is prime exactly when s(q-2) = 0 modulo it.
LucasLehmerOutcome lucasLehmer(unsigned long q);

}  // namespace prp
