// The FFT arithmetics (general N with Barrett reduction, 2^q-1 by IBDWT)
// against GMP: powerings, every register operation, Lucas-Lehmer residues,
// the sizes around transform length changes and the crossover, and the
// switch to a longer transform after an unsafe round-off.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmp.h>

#include "arithmetic/fft_general_arithmetic.h"
#include "arithmetic/fft_passes.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/gmp_arithmetic.h"
#include "arithmetic/mersenne_arithmetic.h"
#include "arithmetic/modular_arithmetic.h"
#include "arithmetic/modular_arithmetic_choice.h"

namespace {

using arithmetic::FftArithmeticBase;
using arithmetic::FftGeneralArithmetic;
using arithmetic::MersenneArithmetic;
using arithmetic::ModularArithmetic;

// Small lengths plan in no time with FFTW_ESTIMATE; measured planning would
// dominate these tests.
struct EstimatePlanning : ::testing::Environment {
    void SetUp() override { arithmetic::fft::setPlanning(arithmetic::fft::Planning::Estimate); }
};
const auto* const kPlanning = ::testing::AddGlobalTestEnvironment(new EstimatePlanning);

struct Mpz {
    mpz_t v;
    Mpz() { mpz_init(v); }
    explicit Mpz(unsigned long x) { mpz_init_set_ui(v, x); }
    Mpz(const Mpz& o) { mpz_init_set(v, o.v); }
    ~Mpz() { mpz_clear(v); }
    Mpz& operator=(const Mpz& o)
    {
        mpz_set(v, o.v);
        return *this;
    }
    operator mpz_ptr() { return v; }
    operator mpz_srcptr() const { return v; }
};

struct Random {
    gmp_randstate_t state;
    explicit Random(unsigned long seed)
    {
        gmp_randinit_mt(state);
        gmp_randseed_ui(state, seed);
    }
    ~Random() { gmp_randclear(state); }
    // Odd, exactly `bits` bits.
    Mpz oddNumber(size_t bits)
    {
        Mpz n;
        mpz_urandomb(n, state, bits);
        mpz_setbit(n, bits - 1);
        mpz_setbit(n, 0);
        return n;
    }
    Mpz below(mpz_srcptr n)
    {
        Mpz r;
        mpz_urandomm(r, state, n);
        return r;
    }
    unsigned long word() { return gmp_urandomb_ui(state, 32); }
};

std::string hexTail(mpz_srcptr v)
{
    char* s = mpz_get_str(nullptr, 16, v);
    std::string text(s);
    free(s);
    return text.size() > 24 ? std::string("...").append(text, text.size() - 24) : text;
}

#define EXPECT_MPZ_EQ(a, b) EXPECT_EQ(mpz_cmp((a), (b)), 0) << hexTail(a) << " vs " << hexTail(b)

Mpz gmpLucasLehmerResidue(unsigned long q, unsigned long steps);
Mpz fftLucasLehmerResidue(ModularArithmetic& arithmetic, unsigned long steps);

// base^exponent (every N here is above 2^32, so the base is a residue) by left-to-right square and multiplySmall
// in register 0.
Mpz poweringResidue(ModularArithmetic& arithmetic, uint32_t base, mpz_srcptr exponent)
{
    Mpz b(base), got;
    arithmetic.set(0, b);
    for (size_t i = mpz_sizeinbase(exponent, 2) - 1; i-- > 0;) {
        arithmetic.square(0);
        if (mpz_tstbit(exponent, i))
            arithmetic.multiplySmall(0, base);
    }
    arithmetic.get(0, got);
    return got;
}

// The same, checked against mpz_powm.
void checkFermatPowering(ModularArithmetic& arithmetic, mpz_srcptr n, uint32_t base, mpz_srcptr exponent)
{
    Mpz expected, b(base);
    mpz_powm(expected, b, exponent, n);
    Mpz got = poweringResidue(arithmetic, base, exponent);
    EXPECT_MPZ_EQ(got, expected);
}

// Every register operation against the same on mpz.
void checkAllOperations(ModularArithmetic& arithmetic, mpz_srcptr n, Random& random)
{
    const int count = arithmetic.registerCount();
    ASSERT_GE(count, 3);
    std::vector<Mpz> model(count);
    Mpz got;
    // set/get round trip, including 0, 1 and N-1.
    Mpz zero(0), one(1), nMinus1;
    mpz_sub_ui(nMinus1, n, 1);
    for (mpz_srcptr value : {static_cast<mpz_srcptr>(zero), static_cast<mpz_srcptr>(one), static_cast<mpz_srcptr>(nMinus1)}) {
        arithmetic.set(0, value);
        arithmetic.get(0, got);
        EXPECT_MPZ_EQ(got, value);
    }
    for (int r = 0; r < count; ++r) {
        model[r] = random.below(n);
        arithmetic.set(r, model[r]);
    }
    for (int round = 0; round < 12; ++round) {
        int x = round % count, y = (round * 7 + 1) % count;
        switch (round % 6) {
        case 0:
            arithmetic.square(x);
            mpz_mul(model[x], model[x], model[x]);
            break;
        case 1:
            arithmetic.multiply(x, y);
            mpz_mul(model[x], model[x], model[y]);
            break;
        case 2: {
            uint32_t c = static_cast<uint32_t>(random.word()) | 0x80000000u;
            arithmetic.multiplySmall(x, c);
            mpz_mul_ui(model[x], model[x], c);
            break;
        }
        case 3:
            arithmetic.addSmall(x, -2);
            mpz_sub_ui(model[x], model[x], 2);
            break;
        case 4:
            arithmetic.addSmall(x, 2147483647);
            mpz_add_ui(model[x], model[x], 2147483647);
            break;
        case 5:
            arithmetic.copy(y, x);
            mpz_set(model[y], model[x]);
            arithmetic.multiply(y, x);  // the same value in two registers
            mpz_mul(model[y], model[y], model[x]);
            break;
        }
        for (int r = 0; r < count; ++r) {
            mpz_mod(model[r], model[r], n);
            arithmetic.get(r, got);
            EXPECT_MPZ_EQ(got, model[r]) << "round " << round << " register " << r;
        }
    }
    // addSmall wrapping below 0.
    arithmetic.set(1, Mpz(1));
    arithmetic.addSmall(1, -5);
    Mpz expected;
    mpz_sub_ui(expected, n, 4);
    arithmetic.get(1, got);
    EXPECT_MPZ_EQ(got, expected);
}

// The layout (product length, digit size) of a general N of `bits` bits.
std::pair<size_t, int> layoutOf(size_t bits)
{
    return {FftGeneralArithmetic::transformLengthFor(bits), FftGeneralArithmetic::digitBitsFor(bits)};
}

// The bit sizes just below and at each change of the general layout in
// [from, to).
std::vector<size_t> layoutBoundaries(size_t from, size_t to)
{
    std::vector<size_t> sizes;
    size_t bits = from;
    while (bits < to) {
        auto layout = layoutOf(bits);
        size_t low = bits, high = to;  // first size with another layout, by bisection
        if (layoutOf(high) == layout)
            break;
        while (high - low > 1) {
            size_t mid = (low + high) / 2;
            (layoutOf(mid) == layout ? low : high) = mid;
        }
        sizes.push_back(low);
        sizes.push_back(high);
        bits = high;
    }
    return sizes;
}

// Both sides of every change of length or digit size up to 12,000 bits on
// one and two threads (the square's two halves on two threads), then both
// sides of every change up to 160,000 bits with shorter exponents.
TEST(FftGeneralArithmetic, PoweringsAtLayoutChanges)
{
    Random random(20261210);
    auto sizes = layoutBoundaries(200, 160000);
    ASSERT_GE(sizes.size(), 40u);
    for (size_t bits : sizes) {
        SCOPED_TRACE("bits " + std::to_string(bits));
        Mpz n = random.oddNumber(bits);
        Mpz exponent = random.oddNumber(bits < 12000 ? 200 : 24);
        std::vector<uint32_t> bases{3};
        if (bits < 12000)
            bases.push_back(4294967291u);
        for (uint32_t base : bases) {
            Mpz expected, b(base);
            mpz_powm(expected, b, exponent, n);
            for (unsigned threads : {1u, 2u}) {
                if (threads == 2 && bits >= 12000)
                    continue;
                FftGeneralArithmetic arithmetic(n, 1, threads);
                Mpz got = poweringResidue(arithmetic, base, exponent);
                EXPECT_MPZ_EQ(got, expected);
                EXPECT_EQ(arithmetic.escalations(), 0);
                EXPECT_LT(arithmetic.worstRoundoff(), 0.2);
            }
        }
    }
}

TEST(FftGeneralArithmetic, AllOperationsOnRandomComposites)
{
    Random random(7);
    for (size_t bits : {65, 100, 1000, 4093, 33219, 140000}) {
        SCOPED_TRACE("bits " + std::to_string(bits));
        Mpz n = random.oddNumber(bits);
        FftGeneralArithmetic arithmetic(n, 4, 2);
        checkAllOperations(arithmetic, n, random);
        Mpz exponent = random.oddNumber(bits > 100000 ? 60 : 300);
        checkFermatPowering(arithmetic, n, 3, exponent);
    }
}

TEST(FftGeneralArithmetic, FermatTestOfGeneratedPrimesAndComposites)
{
    // Fixtures made from a seed: a 2,000-bit prime and a composite of two
    // 1,000-bit primes.
    Random random(424242);
    Mpz p = random.oddNumber(2000);
    mpz_nextprime(p, p);
    Mpz a = random.oddNumber(1000), b = random.oddNumber(1000), ab;
    mpz_nextprime(a, a);
    mpz_nextprime(b, b);
    mpz_mul(ab, a, b);
    for (mpz_srcptr n : {static_cast<mpz_srcptr>(p), static_cast<mpz_srcptr>(ab)}) {
        FftGeneralArithmetic arithmetic(n, 2, 1);
        Mpz exponent, got;
        mpz_sub_ui(exponent, n, 1);
        checkFermatPowering(arithmetic, n, 3, exponent);
        arithmetic.get(0, got);
        EXPECT_EQ(mpz_cmp_ui(got.v, 1) == 0, n == static_cast<mpz_srcptr>(p));
    }
}

// The passes compiled for any x86-64 give the residues the AVX-512 ones
// give (both checked against GMP), one and two threads, at a size where the
// passes split across threads; so does the IBDWT. On a processor without
// AVX-512 both runs take the plain passes.
TEST(FftArithmetic, PlainPassesGiveTheSameResiduesAsTheVectorOnes)
{
    struct PlainPasses {
        explicit PlainPasses(bool plain) { arithmetic::fft::usePlainPasses(plain); }
        ~PlainPasses() { arithmetic::fft::usePlainPasses(false); }
    };
    Random random(1729);
    Mpz n = random.oddNumber(700001);
    Mpz exponent = random.oddNumber(20);
    const unsigned long q = 756839;  // 2^756839-1 is prime
    Mpz m;
    mpz_setbit(m, q);
    mpz_sub_ui(m, m, 1);
    for (bool plain : {true, false}) {
        PlainPasses passes(plain);
        SCOPED_TRACE(arithmetic::fft::passes().name);
        for (unsigned threads : {1u, 2u}) {
            FftGeneralArithmetic general(n, 3, threads);
            checkFermatPowering(general, n, 3, exponent);
            MersenneArithmetic mersenne(q, 3, threads);
            checkFermatPowering(mersenne, m, 3, exponent);
            Mpz got = fftLucasLehmerResidue(mersenne, 20), expected = gmpLucasLehmerResidue(q, 20);
            EXPECT_MPZ_EQ(got, expected);
        }
    }
}

// Montgomery reduction needs R = 2^K + 1 prime to N. 274177 divides 2^64 + 1
// and so 2^K + 1 for every K = 64 mod 128: N with that factor, of sizes
// whose first layout has such a K, gets another length and stays right.
TEST(FftGeneralArithmetic, NSharingAFactorWithTheFirstModulusGetsAnother)
{
    Random random(641);
    int found = 0;
    for (size_t bits = 2000; bits < 60000 && found < 3; bits += 97) {
        size_t k = FftGeneralArithmetic::transformLengthFor(bits) * FftGeneralArithmetic::digitBitsFor(bits);
        if (k % 128 != 64)
            continue;
        SCOPED_TRACE("bits " + std::to_string(bits));
        Mpz n = random.oddNumber(bits - 18), factor(274177);
        mpz_mul(n, n, factor);
        ASSERT_EQ(mpz_sizeinbase(n, 2) > bits - 2, true);
        FftGeneralArithmetic arithmetic(n, 3, 1);
        EXPECT_NE(arithmetic.transformLength() * arithmetic.digitBits() % 128, 64u);
        checkFermatPowering(arithmetic, n, 3, random.oddNumber(100));
        checkAllOperations(arithmetic, n, random);
        ++found;
    }
    EXPECT_EQ(found, 3);
}

// A run started on a too short transform (digits 5 bits wider than the
// table) meets round-off above the limit and goes on, correctly, on a longer
// one; and a limit lowered below the round-off the table's length shows
// makes the step be redone longer too.
TEST(FftGeneralArithmetic, UnsafeRoundoffIsRedoneOnLongerTransform)
{
    Random random(99);
    Mpz n = random.oddNumber(60000);
    Mpz exponent = random.oddNumber(40);
    {
        FftGeneralArithmetic arithmetic(n, 3, 1, -5);
        size_t shortLength = arithmetic.transformLength();
        checkFermatPowering(arithmetic, n, 3, exponent);
        checkAllOperations(arithmetic, n, random);
        EXPECT_GE(arithmetic.escalations(), 1);
        EXPECT_GT(arithmetic.transformLength(), shortLength);
        EXPECT_LE(arithmetic.worstRoundoff(), arithmetic::fft::kRoundoffLimit);
    }
    {
        FftGeneralArithmetic probe(n, 1, 1);
        checkFermatPowering(probe, n, 3, exponent);
        double usual = probe.worstRoundoff();
        ASSERT_GT(usual, 0.0);
        FftGeneralArithmetic arithmetic(n, 3, 1);
        size_t tableLength = arithmetic.transformLength();
        arithmetic.setRoundoffLimitForTest(usual * 0.9);
        checkFermatPowering(arithmetic, n, 3, exponent);
        EXPECT_GE(arithmetic.escalations(), 1);
        EXPECT_GE(arithmetic.transformLength(), tableLength);
        EXPECT_LT(arithmetic.digitBits(), probe.digitBits());
    }
}

// Lucas-Lehmer residues: s = 4, s = s^2 - 2, `steps` times, by GMP.
Mpz gmpLucasLehmerResidue(unsigned long q, unsigned long steps)
{
    Mpz m, s(4);
    mpz_setbit(m, q);
    mpz_sub_ui(m, m, 1);
    for (unsigned long i = 0; i < steps; ++i) {
        mpz_mul(s, s, s);
        mpz_sub_ui(s, s, 2);
        mpz_mod(s, s, m);
    }
    return s;
}

Mpz fftLucasLehmerResidue(ModularArithmetic& arithmetic, unsigned long steps)
{
    arithmetic.set(0, Mpz(4));
    for (unsigned long i = 0; i < steps; ++i) {
        arithmetic.square(0);
        arithmetic.addSmall(0, -2);
    }
    Mpz s;
    arithmetic.get(0, s);
    return s;
}

TEST(MersenneArithmetic, LucasLehmerProvesMersennePrimes)
{
    for (unsigned long q : {4423ul, 9689ul, 21701ul, 44497ul}) {
        SCOPED_TRACE("q " + std::to_string(q));
        MersenneArithmetic arithmetic(q, 1, 2);
        Mpz s = fftLucasLehmerResidue(arithmetic, q - 2);
        EXPECT_EQ(mpz_sgn(s.v), 0);
        EXPECT_EQ(arithmetic.escalations(), 0);
        EXPECT_LT(arithmetic.worstRoundoff(), 0.2);
    }
}

TEST(MersenneArithmetic, ResiduesAtTransformLengthChanges)
{
    // The exponents just below and at each length change, composite 2^q-1
    // among them (11213 is prime, the others mostly not).
    std::vector<unsigned long> exponents{64, 89, 1279, 11213, 11239};
    unsigned long previousLength = 0;
    for (unsigned long q = 100; q < 200000; q += 1 + q / 400) {
        MersenneArithmetic probe(q, 1, 1);
        if (probe.transformLength() != previousLength && previousLength != 0) {
            unsigned long low = q - 1 - q / 400, high = q;  // bisection for the exact change
            while (high - low > 1) {
                unsigned long mid = (low + high) / 2;
                (MersenneArithmetic(mid, 1, 1).transformLength() == previousLength ? low : high) = mid;
            }
            exponents.push_back(low);
            exponents.push_back(high);
        }
        previousLength = probe.transformLength();
    }
    ASSERT_GE(exponents.size(), 16u);
    Random random(5);
    for (unsigned long q : exponents) {
        SCOPED_TRACE("q " + std::to_string(q));
        MersenneArithmetic arithmetic(q, 3, 1);
        unsigned long steps = q < 20000 ? 200 : 30;
        Mpz expected = gmpLucasLehmerResidue(q, steps);
        Mpz got = fftLucasLehmerResidue(arithmetic, steps);
        EXPECT_MPZ_EQ(got, expected);
        Mpz m;
        mpz_setbit(m, q);
        mpz_sub_ui(m, m, 1);
        if (q < 20000)
            checkAllOperations(arithmetic, m, random);
        EXPECT_EQ(arithmetic.escalations(), 0);
    }
}

TEST(MersenneArithmetic, FermatPoweringAndUnsafeRoundoff)
{
    unsigned long q = 1257787;  // 2^1257787 - 1 is prime
    Mpz m;
    mpz_setbit(m, q);
    mpz_sub_ui(m, m, 1);
    Mpz exponent;
    mpz_setbit(exponent, 60);
    mpz_sub_ui(exponent, exponent, 12345);
    MersenneArithmetic normal(q, 2, 1);
    checkFermatPowering(normal, m, 3, exponent);
    // Digits 3 bits wider than the table: about 22 bits on length 57,344,
    // where the round-off exceeds the limit.
    MersenneArithmetic tooShort(q, 2, 1, -3);
    size_t shortLength = tooShort.transformLength();
    Mpz expected = gmpLucasLehmerResidue(q, 40);
    Mpz got = fftLucasLehmerResidue(tooShort, 40);
    EXPECT_MPZ_EQ(got, expected);
    EXPECT_GE(tooShort.escalations(), 1);
    EXPECT_GT(tooShort.transformLength(), shortLength);
    checkFermatPowering(tooShort, m, 3, exponent);
}

TEST(ModularArithmeticChoice, GmpBelowCrossoverFftAboveMersenneByIbdwt)
{
    Random random(3);
    const size_t crossover = arithmetic::generalFftMinimumBits();
    const unsigned long mersenneCrossover = arithmetic::mersenneFftMinimumExponent();
    struct Case {
        Mpz n;
        bool fft;
        bool mersenne;
    };
    std::vector<Case> cases;
    cases.push_back({random.oddNumber(crossover - 1), false, false});
    cases.push_back({random.oddNumber(crossover), true, false});
    cases.push_back({random.oddNumber(200000), true, false});
    for (unsigned long q : {127ul, mersenneCrossover - 1, mersenneCrossover, 86243ul}) {
        Mpz m;
        mpz_setbit(m, q);
        mpz_sub_ui(m, m, 1);
        cases.push_back({m, q >= mersenneCrossover, true});
    }
    for (auto& c : cases) {
        SCOPED_TRACE("bits " + std::to_string(mpz_sizeinbase(c.n, 2)));
        auto arithmetic = arithmetic::makeModularArithmetic(c.n, 2, 0);
        auto* fft = dynamic_cast<FftArithmeticBase*>(arithmetic.get());
        EXPECT_EQ(fft != nullptr, c.fft);
        if (c.fft) {
            EXPECT_EQ(dynamic_cast<MersenneArithmetic*>(fft) != nullptr, c.mersenne);
        }
        Mpz exponent = random.oddNumber(25);
        checkFermatPowering(*arithmetic, c.n, 5, exponent);
    }
}

}  // namespace
