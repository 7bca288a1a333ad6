#include "engine/trial_factorization.h"

#include <gtest/gtest.h>

#include "engine/decimal_text.h"

using namespace engine;

namespace {

TrialFactorization factor(const std::string& text)
{
    BigInt n;
    EXPECT_TRUE(setFromDecimal(n, text));
    return factorByTrialDivision(n);
}

}  // namespace

TEST(TrialFactorization, lists_factors_in_order_with_repeats_and_marks_a_lone_prime)
{
    struct Case {
        const char* number;
        const char* factors;
        int64_t count;
        bool onlyTheNumber;
    };
    for (Case c : {
             Case{"12", "2 2 3", 3, false},
             Case{"13", "13", 1, true},
             Case{"1", "", 0, false},
             Case{"0", "", 0, false},
             Case{"1024", "2 2 2 2 2 2 2 2 2 2", 10, false},
             Case{"999999999989", "999999999989", 1, true},  // below 10^12: the square test ends it
             Case{"999999999988", "2 2 11 124847 182041", 5, false},
         }) {
        TrialFactorization found = factor(c.number);
        EXPECT_EQ(found.factors, c.factors) << c.number;
        EXPECT_EQ(found.count, c.count) << c.number;
        EXPECT_EQ(found.onlyFactorIsTheNumber, c.onlyTheNumber) << c.number;
        EXPECT_FALSE(found.compositeRemainder) << c.number;
    }
}

// The pass limit stops trial division near 1.3 million; what is left is
// still listed: as a factor when it is a probable prime, bracketed when not.
TEST(TrialFactorization, remainder_left_by_the_pass_limit_is_kept)
{
    TrialFactorization twiceAPrime = factor("20000000000000000102");  // 2 x 10000000000000000051
    EXPECT_EQ(twiceAPrime.factors, "2 10000000000000000051");
    EXPECT_EQ(twiceAPrime.count, 2);
    EXPECT_FALSE(twiceAPrime.onlyFactorIsTheNumber);

    TrialFactorization prime15 = factor("100000000012397");
    EXPECT_EQ(prime15.factors, "100000000012397");
    EXPECT_TRUE(prime15.onlyFactorIsTheNumber);

    TrialFactorization twoLargePrimes = factor("1689303271703");  // 1299721 x 1299743, just past the limit
    EXPECT_EQ(twoLargePrimes.factors, "[1689303271703]");
    EXPECT_TRUE(twoLargePrimes.compositeRemainder);
    EXPECT_FALSE(twoLargePrimes.onlyFactorIsTheNumber);

    TrialFactorization mixed = factor("72000516000612");  // 2 2 3 x 2000003 x 3000017
    EXPECT_EQ(mixed.factors, "2 2 3 [6000043000051]");
    EXPECT_EQ(mixed.count, 4);
    EXPECT_TRUE(mixed.compositeRemainder);
}

TEST(TrialFactorization, pass_limit_counts_loop_passes)
{
    BigInt n;
    setFromDecimal(n, "49");  // passes: p=2 no, p=3 no, p=5 no, p=7 divides, 7 divides
    EXPECT_EQ(factorByTrialDivision(n, 2).factors, "[49]");
    EXPECT_EQ(factorByTrialDivision(n, 5).factors, "7 7");
}
