// The strong probable-prime test on both sides of the FFT crossover against
// the test written out with GMP: primes, composites, base-2 strong
// pseudoprimes, primes whose n - 1 holds thousands of twos; abandoning a
// test; a fault caught by the Gerbicz check.
#include "arithmetic/strong_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "arithmetic/big_integer.h"
#include "arithmetic/ifma_montgomery.h"
#include "arithmetic/modular_arithmetic_choice.h"

using arithmetic::BigInt;
using arithmetic::LongRunSettings;
using arithmetic::StrongTestResult;
using arithmetic::strongProbablePrimeTest;

namespace {

bool referenceStrongTest(mpz_srcptr n, unsigned long base)
{
    BigInt nMinus1, d, x(base);
    mpz_sub_ui(nMinus1.get(), n, 1);
    const mp_bitcnt_t twos = mpz_scan1(nMinus1.get(), 0);
    mpz_tdiv_q_2exp(d.get(), nMinus1.get(), twos);
    mpz_powm(x.get(), x.get(), d.get(), n);
    if (mpz_cmp_ui(x.get(), 1) == 0 || mpz_cmp(x.get(), nMinus1.get()) == 0)
        return true;
    for (mp_bitcnt_t j = 1; j < twos; ++j) {
        mpz_powm_ui(x.get(), x.get(), 2, n);
        if (mpz_cmp(x.get(), nMinus1.get()) == 0)
            return true;
    }
    return false;
}

// k * 2^e + c, or (4^e + 1) / 5 when k is 0.
BigInt numberOf(unsigned long k, unsigned long e, long c)
{
    BigInt n;
    if (k == 0) {
        mpz_ui_pow_ui(n.get(), 4, e);
        mpz_add_ui(n.get(), n.get(), 1);
        mpz_divexact_ui(n.get(), n.get(), 5);
        return n;
    }
    mpz_ui_pow_ui(n.get(), 2, e);
    mpz_mul_ui(n.get(), n.get(), k);
    if (c >= 0)
        mpz_add_ui(n.get(), n.get(), static_cast<unsigned long>(c));
    else
        mpz_sub_ui(n.get(), n.get(), static_cast<unsigned long>(-c));
    return n;
}

struct Case {
    const char* what;
    unsigned long k, e;
    long c;
    bool probablePrime;
};

// (4^p + 1) / 5 for a prime p > 5 and 2^q - 1 for a prime q that is not a
// Mersenne prime exponent are composite and pass the base-2 strong test.
// 3 * 2^3912 + 1 and 3 * 2^20909 + 1 are primes: every squaring after
// b^d = b^3 is needed before -1 comes.
const Case kCases[] = {
    {"2^9980 + 91, prime", 1, 9980, 91, true},
    {"2^9980 + 93, composite", 1, 9980, 93, false},
    {"(4^1013 + 1) / 5, strong pseudoprime", 0, 1013, 0, true},
    {"2^4328 - 1, composite", 1, 4328, -1, false},
    {"3 * 2^3912 + 1, prime", 3, 3912, 1, true},
    {"3 * 2^3912 - 1, composite", 3, 3912, -1, false},
    {"(4^5003 + 1) / 5, strong pseudoprime", 0, 5003, 0, true},
    {"2^10007 - 1, composite Mersenne number", 1, 10007, -1, true},
    {"2^10020 + 1, composite", 1, 10020, 1, false},
    {"3 * 2^20909 + 1, prime", 3, 20909, 1, true},
    {"3 * 2^20909 + 3^5, composite", 3, 20909, 243, false},
};

// The register runs (the FFT arithmetic here) whatever the IFMA range.
struct IfmaSwitchedOff {
    IfmaSwitchedOff() { arithmetic::allowIfma(false); }
    ~IfmaSwitchedOff() { arithmetic::allowIfma(true); }
};

}  // namespace

// Every case on every arithmetic that takes its size: with IFMA allowed
// (where the processor has it) and without, the registers on one thread and
// two.
TEST(StrongTest, verdicts_are_the_reference_ones_on_every_arithmetic)
{
    bool belowCrossover = false, aboveCrossover = false;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const BigInt n = numberOf(c.k, c.e, c.c);
        ASSERT_EQ(referenceStrongTest(n.get(), 2), c.probablePrime) << "the table itself is wrong";
        const StrongTestResult expected = c.probablePrime ? StrongTestResult::ProbablePrime : StrongTestResult::Composite;
        const size_t bits = mpz_sizeinbase(n.get(), 2);
        const bool ifmaSize = arithmetic::ifmaAvailable() && bits >= arithmetic::ifmaMinimumBits() &&
                              bits <= arithmetic::ifmaMaximumBits();
        for (bool ifma : {true, false}) {
            if (!ifma && !ifmaSize)
                continue;  // the same arithmetic as with IFMA allowed
            arithmetic::allowIfma(ifma);
            const bool registers = bits >= arithmetic::generalFftMinimumBits() && !(ifma && ifmaSize);
            for (unsigned threads = 1; threads <= (registers ? 2u : 1u); ++threads) {
                LongRunSettings settings;
                settings.threads = threads;
                EXPECT_EQ(strongProbablePrimeTest(n.get(), 2, settings), expected)
                    << threads << " threads, IFMA " << (ifma ? "allowed" : "not allowed");
            }
        }
        arithmetic::allowIfma(true);
        (bits < arithmetic::generalFftMinimumBits() ? belowCrossover : aboveCrossover) = true;
    }
    EXPECT_TRUE(belowCrossover && aboveCrossover);
}

TEST(StrongTest, other_bases_agree_with_the_reference)
{
    const BigInt pseudoprime = numberOf(0, 5003, 0);
    const BigInt prime = numberOf(3, 20909, 1);
    for (unsigned long base : {3ul, 7ul}) {
        EXPECT_EQ(strongProbablePrimeTest(pseudoprime.get(), base, {}), StrongTestResult::Composite) << base;
        EXPECT_EQ(strongProbablePrimeTest(prime.get(), base, {}), StrongTestResult::ProbablePrime) << base;
    }
}

// The prime searches abandon the tests of candidates beyond one that passed.
TEST(StrongTest, a_raised_abandon_flag_ends_a_register_run)
{
    const IfmaSwitchedOff registers;
    const BigInt n = numberOf(3, 20909, 1);
    std::atomic<bool> abandon{true};
    LongRunSettings settings;
    settings.abandon = &abandon;
    EXPECT_EQ(strongProbablePrimeTest(n.get(), 2, settings), StrongTestResult::Abandoned);
    abandon = false;
    EXPECT_EQ(strongProbablePrimeTest(n.get(), 2, settings), StrongTestResult::ProbablePrime);
}

// A flipped bit in the powering would turn a prime into a composite, so a
// search would skip it: the Gerbicz check redoes the damaged stretch.
TEST(StrongTest, a_fault_in_the_powering_is_caught_and_the_verdict_stands)
{
    const IfmaSwitchedOff registers;
    const BigInt pseudoprime = numberOf(0, 5003, 0);
    for (uint64_t step : {uint64_t{150}, uint64_t{5000}}) {
        LongRunSettings settings;
        settings.faultAtStep = step;
        EXPECT_EQ(strongProbablePrimeTest(pseudoprime.get(), 2, settings), StrongTestResult::ProbablePrime) << step;
    }
}

TEST(StrongTest, sample_costs_are_positive_on_both_arithmetics)
{
    for (const BigInt& n : {numberOf(1, 9980, 91), numberOf(3, 20909, 1)}) {
        const double seconds = arithmetic::strongTestSeconds(n.get(), 2, 1);
        EXPECT_GT(seconds, 0.0);
        EXPECT_LT(seconds, 1e6);
    }
}
