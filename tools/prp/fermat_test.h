#pragma once
// Fermat probable-prime test: n passes to base b when b^(n-1) = 1 (mod n).
#include <cstdint>

#include <gmp.h>

namespace prp {

struct FermatOutcome {
    bool probablePrime = false;
    uint64_t res64 = 0;  // low 64 bits of b^(n-1) mod n
    double seconds = 0;
};

// n must be at least 2. When n divides the base the test says nothing, so
// such an n (at most the base, hence small) is decided exactly instead.
FermatOutcome fermatTest(mpz_srcptr n, unsigned long base);

}  // namespace prp
