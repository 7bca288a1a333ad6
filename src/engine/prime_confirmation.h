#pragma once
// The confirmation of the one candidate a prime search keeps: GMP's own
// verdict mpz_probab_prime_p(n, 25), its two parts on two threads.
#include <gmp.h>

namespace engine {

// mpz_probab_prime_p(n, reps) is some trial division, the Baillie-PSW test
// (a strong test to base 2 and a strong Lucas test) and reps - 24
// Miller-Rabin rounds to random bases (GMP's manual). Here the Baillie-PSW
// part is mpz_probab_prime_p(n, 24) and the one round runs beside it, its
// base drawn as GMP's mpz_millerrabin draws it (3 plus a uniform draw below
// (n - 5) / 2 from the default generator just initialised). With one
// thread the two parts run one after the other.
bool confirmedPrime(mpz_srcptr n, unsigned threads);

// The two parts, for callers that run them in separate processes.
bool passesBailliePsw(mpz_srcptr n);
bool passesGmpsRandomRound(mpz_srcptr n);

}  // namespace engine
