#include "engine/prime_library.h"

#include <gtest/gtest.h>

#include "engine/big_integer.h"
#include "engine/decimal_text.h"

using namespace engine;

TEST(PrevPrime, gives_the_largest_prime_below)
{
    primeLibraryInit();
    struct Case { const char* n; const char* below; };
    for (Case c : {Case{"3", "2"}, Case{"4", "3"}, Case{"5", "3"}, Case{"8", "7"}, Case{"14", "13"}, Case{"2000", "1999"},
                   Case{"2003", "1999"}, Case{"1000000", "999983"}, Case{"4256249", "4256233"},
                   // 10^30 - 11 is the largest prime below 10^30.
                   Case{"1000000000000000000000000000000", "999999999999999999999999999989"}}) {
        BigInt x;
        setFromDecimal(x, c.n);
        previousPrimeStepwise(x.get());
        EXPECT_EQ(toDecimal(x), c.below) << c.n;
    }
}

TEST(PrevPrime, has_no_prime_below_two)
{
    for (const char* n : {"2", "1", "0", "-7"}) {
        BigInt x;
        setFromDecimal(x, n);
        previousPrimeStepwise(x.get());
        EXPECT_EQ(toDecimal(x), "0") << n;
    }
}

TEST(PrevPrime, agrees_with_nextprime_on_a_1000_digit_gap)
{
    BigInt start, p, q;
    mpz_ui_pow_ui(start.get(), 10, 999);
    mpz_add_ui(start.get(), start.get(), 12345);
    p.set(start);
    previousPrimeStepwise(p.get());
    q.set(p);
    mpz_nextprime(q.get(), q.get());
    EXPECT_LT(p.compare(start), 0);
    EXPECT_GE(q.compare(start), 0);
}
