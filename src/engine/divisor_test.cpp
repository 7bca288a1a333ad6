#include "engine/divisor_test.h"

namespace engine {

int firstCheck(const BigInt& n, const DivisorProducts& products)
{
    BigInt g;
    for (int level = 1; level <= 3; ++level) {
        mpz_gcd(g.get(), n.get(), products.d[level - 1].get());
        if (g.compare(1UL) > 0 && mpz_cmpabs(g.get(), n.get()) != 0)
            return level;
    }
    return 0;
}

}  // namespace engine
