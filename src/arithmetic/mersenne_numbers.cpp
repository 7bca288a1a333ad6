#include "arithmetic/mersenne_numbers.h"

namespace arithmetic {

bool isMersenneNumber(mpz_srcptr n, unsigned long& q)
{
    if (mpz_cmp_ui(n, 3) < 0)
        return false;
    size_t bits = mpz_sizeinbase(n, 2);
    if (mpz_scan0(n, 0) != bits)
        return false;
    q = static_cast<unsigned long>(bits);
    return true;
}

unsigned long smallestPrimeFactor(unsigned long q)
{
    for (unsigned long d = 2; d * d <= q; ++d)
        if (q % d == 0)
            return d;
    return q;
}

}  // namespace arithmetic
