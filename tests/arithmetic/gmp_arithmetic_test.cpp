// The GMP registers against plain mpz arithmetic, on moduli that stress the
// reductions: Barrett's estimate is furthest off just above and just below
// a power of two, and 2^q - 1 takes the fold instead.
#include <gtest/gtest.h>

#include "arithmetic/big_integer.h"
#include "arithmetic/gmp_arithmetic.h"

namespace arithmetic_test {
namespace {

using arithmetic::BigInt;

struct Modulus {
    const char* name;
    unsigned bits;
    int shape;  // 0: random odd, 1: 2^(bits-1) + 1, 2: 2^bits - 3, 3: 2^bits - 1
};

void makeModulus(const Modulus& m, gmp_randstate_t random, mpz_ptr n)
{
    mpz_set_ui(n, 0);
    switch (m.shape) {
    case 0:
        mpz_urandomb(n, random, m.bits);
        mpz_setbit(n, m.bits - 1);
        mpz_setbit(n, 0);
        break;
    case 1:
        mpz_setbit(n, m.bits - 1);
        mpz_add_ui(n, n, 1);
        break;
    default:
        mpz_setbit(n, m.bits);
        mpz_sub_ui(n, n, m.shape == 2 ? 3 : 1);
    }
}

TEST(GmpArithmetic, every_operation_matches_plain_mpz_arithmetic)
{
    const Modulus moduli[] = {
        {"random 64 bits", 64, 0},       {"random 3000 bits", 3000, 0}, {"2^4000 + 1", 4001, 1},
        {"2^4000 - 3", 4000, 2},         {"2^4423 - 1", 4423, 3},       {"2^61 - 1", 61, 3},
        {"random 20000 bits", 20000, 0},
    };
    gmp_randstate_t random;
    gmp_randinit_default(random);
    for (const Modulus& m : moduli) {
        SCOPED_TRACE(m.name);
        BigInt n, a, b, expectA, expectB, got;
        makeModulus(m, random, n.get());
        auto arithmetic = arithmetic::makeGmpArithmetic(n.get(), 2);
        ASSERT_GE(arithmetic->registerCount(), 2);
        // N - 1 is the largest square to reduce; random values the rest.
        mpz_sub_ui(a.get(), n.get(), 1);
        for (int round = 0; round < 50; ++round) {
            mpz_urandomm(b.get(), random, n.get());
            arithmetic->set(0, a.get());
            arithmetic->set(1, b.get());
            arithmetic->square(0);
            arithmetic->multiply(0, 1);
            arithmetic->multiplySmall(0, 0xFFFFFFFFu);
            arithmetic->addSmall(0, -2147483647LL);
            arithmetic->addSmall(1, 2147483647LL);
            mpz_mul(expectA.get(), a.get(), a.get());
            mpz_mul(expectA.get(), expectA.get(), b.get());
            mpz_mul_ui(expectA.get(), expectA.get(), 0xFFFFFFFFu);
            mpz_sub_ui(expectA.get(), expectA.get(), 2147483647u);
            mpz_mod(expectA.get(), expectA.get(), n.get());
            mpz_add_ui(expectB.get(), b.get(), 2147483647u);
            mpz_mod(expectB.get(), expectB.get(), n.get());
            arithmetic->get(0, got.get());
            ASSERT_EQ(mpz_cmp(got.get(), expectA.get()), 0) << "round " << round;
            arithmetic->get(1, got.get());
            ASSERT_EQ(mpz_cmp(got.get(), expectB.get()), 0) << "round " << round;
            arithmetic->copy(1, 0);
            arithmetic->get(1, a.get());
            ASSERT_EQ(mpz_cmp(a.get(), expectA.get()), 0);
        }
    }
    gmp_randclear(random);
}

TEST(GmpArithmetic, corruption_for_tests_changes_the_residue_and_keeps_it_reduced)
{
    BigInt n, value(12345), got;
    mpz_setbit(n.get(), 1000);
    mpz_add_ui(n.get(), n.get(), 1);
    auto arithmetic = arithmetic::makeGmpArithmetic(n.get(), 1);
    arithmetic->set(0, value.get());
    arithmetic->corruptForTest(0);
    arithmetic->get(0, got.get());
    EXPECT_NE(mpz_cmp(got.get(), value.get()), 0);
    EXPECT_LT(mpz_cmp(got.get(), n.get()), 0);
}

}  // namespace
}  // namespace arithmetic_test
