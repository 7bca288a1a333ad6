// The IFMA Montgomery arithmetic against GMP: powers of small bases to long
// exponents and squarings on numbers at every change of the limb count,
// near the largest size it takes, and with the residues 1 and -1.
#include "arithmetic/ifma_montgomery.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "arithmetic/big_integer.h"

using arithmetic::BigInt;
using arithmetic::IfmaMontgomery;

namespace {

class IfmaMontgomeryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!arithmetic::ifmaAvailable())
            GTEST_SKIP() << "this processor has no AVX-512 IFMA";
        gmp_randinit_mt(random_);
        gmp_randseed_ui(random_, 52);
    }
    void TearDown() override
    {
        if (arithmetic::ifmaAvailable())
            gmp_randclear(random_);
    }

    BigInt oddNumber(size_t bits)
    {
        BigInt n;
        mpz_urandomb(n.get(), random_, bits);
        mpz_setbit(n.get(), bits - 1);
        mpz_setbit(n.get(), 0);
        return n;
    }

    gmp_randstate_t random_;
};

}  // namespace

// 52 * 8k - 4 bits is the largest N of 8k limbs (R must exceed 16 N).
TEST_F(IfmaMontgomeryTest, powers_and_squares_are_gmps)
{
    for (size_t bits : {size_t{2}, size_t{64}, size_t{411}, size_t{412}, size_t{413}, size_t{1000}, size_t{3322},
                        size_t{8000}, arithmetic::ifmaMaximumBits()}) {
        BigInt n = oddNumber(bits);
        if (bits == 2)
            n.set(3);
        for (unsigned long base : {2ul, 3ul, 4294967291ul}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, base " + std::to_string(base));
            BigInt exponent, expected, found, b(base);
            // Exponents as long as N up to a few thousand bits; shorter on the
            // largest, where GMP's side alone would take seconds.
            mpz_urandomb(exponent.get(), random_, std::min<size_t>(bits + 17, 3000));
            mpz_setbit(exponent.get(), 0);
            IfmaMontgomery arithmetic(n.get());
            arithmetic.power(base, exponent.get());
            mpz_powm(expected.get(), b.get(), exponent.get(), n.get());
            arithmetic.get(found.get());
            EXPECT_EQ(mpz_cmp(found.get(), expected.get()), 0);
            for (int step = 0; step < 3; ++step) {
                arithmetic.square();
                mpz_powm_ui(expected.get(), expected.get(), 2, n.get());
            }
            arithmetic.get(found.get());
            EXPECT_EQ(mpz_cmp(found.get(), expected.get()), 0);
        }
    }
}

// n = 2^k + 1: 2^k is -1, its square 1, and 2^(2k + 1) is 2, neither.
TEST_F(IfmaMontgomeryTest, one_and_minus_one_are_recognised)
{
    for (unsigned long k : {500ul, 3000ul, 9999ul}) {
        SCOPED_TRACE(k);
        BigInt n, exponent(k);
        mpz_setbit(n.get(), k);
        mpz_add_ui(n.get(), n.get(), 1);
        IfmaMontgomery arithmetic(n.get());
        arithmetic.power(2, exponent.get());
        EXPECT_TRUE(arithmetic.isMinusOne());
        EXPECT_FALSE(arithmetic.isOne());
        arithmetic.square();
        EXPECT_TRUE(arithmetic.isOne());
        EXPECT_FALSE(arithmetic.isMinusOne());
        mpz_set_ui(exponent.get(), 2 * k + 1);
        arithmetic.power(2, exponent.get());
        EXPECT_FALSE(arithmetic.isOne() || arithmetic.isMinusOne());
    }
}
