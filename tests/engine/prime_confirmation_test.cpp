// The searches' confirmation against GMP's mpz_probab_prime_p(n, 25) on
// primes, composites and numbers that fool weaker tests.
#include "engine/prime_confirmation.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/big_integer.h"
#include "engine/decimal_text.h"

using namespace engine;

namespace {

BigInt powerPlus(unsigned long base, unsigned long exponent, long offset)
{
    BigInt n;
    mpz_ui_pow_ui(n.get(), base, exponent);
    if (offset >= 0)
        mpz_add_ui(n.get(), n.get(), static_cast<unsigned long>(offset));
    else
        mpz_sub_ui(n.get(), n.get(), static_cast<unsigned long>(-offset));
    return n;
}

// (6k + 1)(12k + 1)(18k + 1) with all three factors prime is a Carmichael
// number (Chernick): the first such k from 2^21 on gives one above 2^64.
BigInt carmichaelAbove64Bits()
{
    for (unsigned long k = 1ul << 21;; ++k) {
        BigInt a(6 * k + 1), b(12 * k + 1), c(18 * k + 1);
        if (mpz_probab_prime_p(a.get(), 25) && mpz_probab_prime_p(b.get(), 25) && mpz_probab_prime_p(c.get(), 25)) {
            mpz_mul(a.get(), a.get(), b.get());
            mpz_mul(a.get(), a.get(), c.get());
            return a;
        }
    }
}

}  // namespace

TEST(PrimeConfirmation, the_verdict_is_gmps)
{
    std::vector<BigInt> numbers;
    // Primes.
    numbers.push_back(powerPlus(2, 127, -1));
    numbers.push_back(powerPlus(2, 521, -1));
    numbers.push_back(powerPlus(10, 999, 7));
    // Composites that pass the strong test to base 2, a Carmichael number, a
    // square and a product of two primes.
    numbers.push_back(powerPlus(2, 67, -1));
    BigInt pseudoprime = powerPlus(4, 1013, 1);
    mpz_divexact_ui(pseudoprime.get(), pseudoprime.get(), 5);
    numbers.push_back(std::move(pseudoprime));
    numbers.push_back(carmichaelAbove64Bits());
    BigInt p = powerPlus(2, 100, 0), q = powerPlus(2, 120, 0), square, product;
    mpz_nextprime(p.get(), p.get());
    mpz_nextprime(q.get(), q.get());
    mpz_mul(square.get(), p.get(), p.get());
    mpz_mul(product.get(), p.get(), q.get());
    numbers.push_back(std::move(square));
    numbers.push_back(std::move(product));
    int primes = 0;
    for (const BigInt& x : numbers) {
        SCOPED_TRACE(toDecimal(x).substr(0, 40));
        const bool gmp = mpz_probab_prime_p(x.get(), 25) > 0;
        EXPECT_EQ(confirmedPrime(x.get(), 2), gmp);
        EXPECT_EQ(confirmedPrime(x.get(), 1), gmp);
        EXPECT_EQ(passesBailliePsw(x.get()) && passesGmpsRandomRound(x.get()), gmp);
        primes += gmp;
    }
    EXPECT_EQ(primes, 3);
}
