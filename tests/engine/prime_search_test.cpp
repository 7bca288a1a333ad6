#include "engine/prime_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "arithmetic/ifma_montgomery.h"
#include "engine/big_integer.h"
#include "engine/decimal_text.h"
#include "engine/prime_library.h"

using namespace engine;

namespace {

// "b^e+k", "b^e-k", "(4^e+1)/5" or a plain (possibly negative) integer.
BigInt numberOf(const std::string& text)
{
    BigInt n;
    unsigned long base = 0, exponent = 0, offset = 0;
    char sign = '+';
    if (std::sscanf(text.c_str(), "(4^%lu+1)/5", &exponent) == 1) {
        mpz_ui_pow_ui(n.get(), 4, exponent);
        mpz_add_ui(n.get(), n.get(), 1);
        mpz_divexact_ui(n.get(), n.get(), 5);
    } else if (std::sscanf(text.c_str(), "%lu^%lu%c%lu", &base, &exponent, &sign, &offset) >= 2) {
        mpz_ui_pow_ui(n.get(), base, exponent);
        if (sign == '-')
            mpz_sub_ui(n.get(), n.get(), offset);
        else
            mpz_add_ui(n.get(), n.get(), offset);
    } else {
        setFromDecimal(n, text);
    }
    return n;
}

BigInt gmpNextPrime(const BigInt& start)
{
    BigInt p;
    mpz_nextprime(p.get(), start.get());
    return p;
}

BigInt simplePrevPrime(const BigInt& start)
{
    BigInt p;
    p.set(start);
    previousPrimeStepwise(p.get());
    return p;
}

BigInt ourNextPrime(const BigInt& start, const PrimeSearchTuning& tuning = {})
{
    BigInt p;
    p.set(start);
    nextPrime(p, tuning);
    return p;
}

BigInt ourPreviousPrime(const BigInt& start, const PrimeSearchTuning& tuning = {})
{
    BigInt p;
    p.set(start);
    previousPrime(p, tuning);
    return p;
}

// 10^99 + 289 and 10^999 + 7 are the first primes above their powers of ten
// (10^999 + 7 also the largest below 10^999 + 8); 2^64 + 13 the first above
// 2^64. 2^67 - 1 and 2^109 - 1 are composite but pass the base-2 strong test
// (as every composite 2^p - 1 with p prime does), and their smallest factors
// (193707721, 745988807) lie beyond the automatic sieve depth at that size, so
// only the confirmation can reject them. Large starts sit next to a known
// prime so that the baselines stay quick.
const char* const kSmallStarts[] = {
    "-1000", "-5", "-1", "0", "1", "2", "3", "4", "7", "8", "100", "112", "113", "114", "997", "998", "1000",
    "2^32-6", "2^64-60", "2^64-59", "2^64-1", "2^64", "2^64+12", "2^64+13", "2^64+14",
};
const char* const kNextStarts[] = {"2^67-2", "2^109-2", "2^109-1", "10^99", "10^99+288", "10^99+289",
                                   "7^150+3", "10^300+12345", "10^999", "10^999+6"};
const char* const kPreviousStarts[] = {"2^67", "2^109", "2^109-1", "10^99+290", "10^99+300", "10^99",
                                       "7^150+3", "10^300+12345", "10^999+8", "10^999+30"};

}  // namespace

// Both tables run with IFMA allowed (the strong test of 300 and 1,000
// digits then runs on it, where the processor has it) and without (on
// mpz_powm).
TEST(PrimeSearch, next_prime_is_the_one_gmp_finds)
{
    std::vector<std::string> starts(std::begin(kSmallStarts), std::end(kSmallStarts));
    starts.insert(starts.end(), std::begin(kNextStarts), std::end(kNextStarts));
    for (bool ifma : {true, false}) {
        arithmetic::allowIfma(ifma);
        for (const std::string& start : starts) {
            BigInt n = numberOf(start);
            EXPECT_EQ(toDecimal(ourNextPrime(n)), toDecimal(gmpNextPrime(n))) << start << ", IFMA " << ifma;
        }
    }
    arithmetic::allowIfma(true);
}

TEST(PrimeSearch, previous_prime_is_the_one_the_simple_routine_finds)
{
    std::vector<std::string> starts(std::begin(kSmallStarts), std::end(kSmallStarts));
    starts.insert(starts.end(), std::begin(kPreviousStarts), std::end(kPreviousStarts));
    for (bool ifma : {true, false}) {
        arithmetic::allowIfma(ifma);
        for (const std::string& start : starts) {
            BigInt n = numberOf(start);
            EXPECT_EQ(toDecimal(ourPreviousPrime(n)), toDecimal(simplePrevPrime(n))) << start << ", IFMA " << ifma;
        }
    }
    arithmetic::allowIfma(true);
}

// Thread counts, shallow and deep sieves, and intervals so short that the
// prime lies several intervals away must all give the same prime.
TEST(PrimeSearch, tuning_never_changes_the_prime_found)
{
    const PrimeSearchTuning tunings[] = {
        {1, 0, 0}, {3, 0, 0}, {2, 3, 0}, {2, 50000, 4}, {4, 300000, 16}, {1, 1000, 64},
    };
    for (const char* start : {"10^99", "10^99+289", "2^109-2", "3^100-1", "10^70+77"}) {
        BigInt n = numberOf(start);
        BigInt up = gmpNextPrime(n), down = simplePrevPrime(n);
        for (const PrimeSearchTuning& t : tunings) {
            SCOPED_TRACE(std::string(start) + " threads " + std::to_string(t.threads) + " depth " +
                         std::to_string(t.sieveDepth) + " interval " + std::to_string(t.intervalOdds));
            EXPECT_EQ(ourNextPrime(n, t).compare(up), 0);
            EXPECT_EQ(ourPreviousPrime(n, t).compare(down), 0);
        }
    }
}

// No prime may be skipped: from the prime below x the next prime is the first
// prime at or above x.
TEST(PrimeSearch, next_of_previous_is_the_first_prime_at_or_above_the_start)
{
    gmp_randstate_t random;
    gmp_randinit_default(random);
    gmp_randseed_ui(random, 1959);
    for (int i = 0; i < 40; ++i) {
        BigInt x, below, firstAtOrAbove;
        mpz_urandomb(x.get(), random, 8 + gmp_urandomm_ui(random, 600));
        below = ourPreviousPrime(x);
        BigInt again = ourNextPrime(below);
        mpz_sub_ui(firstAtOrAbove.get(), x.get(), 1);
        firstAtOrAbove = gmpNextPrime(firstAtOrAbove);
        SCOPED_TRACE(toDecimal(x));
        EXPECT_LT(below.compare(x), 0);
        EXPECT_GE(again.compare(x), 0);
        EXPECT_EQ(again.compare(firstAtOrAbove), 0);
    }
    gmp_randclear(random);
}

namespace {

// True when GMP finds no probable prime among the odd numbers in (low, high).
bool gmpFindsNoPrimeBetween(const BigInt& low, const BigInt& high)
{
    BigInt x;
    firstOddBeyond(x, low, SearchDirection::Up);
    for (; x.compare(high) < 0; mpz_add_ui(x.get(), x.get(), 2))
        if (mpz_probab_prime_p(x.get(), 1))
            return false;
    return true;
}

// A shallow sieve keeps these sizes quick; the depth the rule picks is
// exercised at 1,000 digits above.
PrimeSearchTuning shallow(unsigned threads)
{
    PrimeSearchTuning tuning;
    tuning.threads = threads;
    tuning.sieveDepth = 20000;
    return tuning;
}

}  // namespace

namespace {

// Each arithmetic of the strong test, one setting at a time.
struct ArithmeticSetting {
    bool ifma;
    unsigned threads;
};
const ArithmeticSetting kSettings[] = {{true, 2}, {false, 1}};

}  // namespace

// 2^10020 + 2011 is the first prime above 2^10020, past the FFT crossover:
// the search tests on the IFMA arithmetic where the processor has it and on
// the FFT arithmetic without it. The starts leave a few candidates on each
// side, and with intervals of four candidates the prime lies nine intervals
// away.
TEST(PrimeSearch, past_the_fft_crossover_the_primes_are_gmps)
{
    const BigInt prime = numberOf("2^10020+2011");
    BigInt below, above;
    mpz_sub_ui(below.get(), prime.get(), 70);
    mpz_add_ui(above.get(), prime.get(), 70);
    ASSERT_TRUE(gmpFindsNoPrimeBetween(below, prime) && gmpFindsNoPrimeBetween(prime, above));
    ASSERT_GT(mpz_probab_prime_p(prime.get(), 25), 0);
    for (const ArithmeticSetting& setting : kSettings) {
        SCOPED_TRACE(std::string("IFMA ") + (setting.ifma ? "allowed" : "not allowed"));
        arithmetic::allowIfma(setting.ifma);
        EXPECT_EQ(ourNextPrime(below, shallow(setting.threads)).compare(prime), 0);
        EXPECT_EQ(ourPreviousPrime(above, shallow(setting.threads)).compare(prime), 0);
    }
    PrimeSearchTuning shortIntervals = shallow(2);
    shortIntervals.intervalOdds = 4;
    EXPECT_EQ(ourNextPrime(below, shortIntervals).compare(prime), 0);
    arithmetic::allowIfma(true);
}

// (4^5003 + 1) / 5 is composite, has no factor below 10^6 and passes the
// strong test to base 2 (on the IFMA or the FFT arithmetic): only the
// confirmation rejects it. The odd numbers after it up to +32 are composite
// as well.
TEST(PrimeSearch, a_strong_pseudoprime_is_passed_over)
{
    const BigInt pseudoprime = numberOf("(4^5003+1)/5");
    BigInt before, end, prime;
    mpz_sub_ui(before.get(), pseudoprime.get(), 1);
    mpz_add_ui(end.get(), pseudoprime.get(), 32);
    ASSERT_TRUE(gmpFindsNoPrimeBetween(before, end));
    for (const ArithmeticSetting& setting : kSettings) {
        arithmetic::allowIfma(setting.ifma);
        EXPECT_FALSE(firstPrimeInBlock(pseudoprime, SearchDirection::Up, 16, 1000000, setting.threads, prime))
            << "IFMA " << (setting.ifma ? "allowed" : "not allowed");
    }
    arithmetic::allowIfma(true);
}
