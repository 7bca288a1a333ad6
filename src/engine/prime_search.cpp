#include "engine/prime_search.h"

#include "engine/prev_prime.h"

namespace engine {

void nextPrime(BigInt& n) { mpz_nextprime(n.get(), n.get()); }

void previousPrime(BigInt& n) { prevPrime(n.get()); }

}  // namespace engine
