#include "arithmetic/strong_test.h"

#include <cassert>
#include <ctime>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "arithmetic/big_integer.h"
#include "arithmetic/checked_powering.h"
#include "arithmetic/gmp_arithmetic.h"
#include "arithmetic/ifma_montgomery.h"
#include "arithmetic/modular_arithmetic.h"
#include "arithmetic/modular_arithmetic_choice.h"

namespace arithmetic {

namespace {

constexpr ModularArithmetic::Register kX = 0;
constexpr unsigned kSampleSteps = 32;

// The arithmetic of a test by size: IFMA where it is the fastest and the
// processor has it, mpz_powm below the FFT crossover, else the registers.
enum class Path { Ifma, MpzPowm, Registers };

Path pathFor(size_t bits)
{
    if (ifmaAvailable() && bits >= ifmaMinimumBits() && bits <= ifmaMaximumBits())
        return Path::Ifma;
    if (bits < generalFftMinimumBits() && bits < mersenneFftMinimumExponent())
        return Path::MpzPowm;
    return Path::Registers;
}

// The part of the test after x = b^d: true when x or one of its s - 1
// squares is -1 (a 1 before that means a nontrivial square root of 1).
template <typename SquareAndRead>
bool reachesMinusOne(mpz_ptr x, mpz_srcptr nMinus1, mp_bitcnt_t twos, SquareAndRead squareAndRead)
{
    if (mpz_cmp_ui(x, 1) == 0 || mpz_cmp(x, nMinus1) == 0)
        return true;
    for (mp_bitcnt_t j = 1; j < twos; ++j) {
        squareAndRead(x);
        if (mpz_cmp(x, nMinus1) == 0)
            return true;
        if (mpz_cmp_ui(x, 1) == 0)
            return false;
    }
    return false;
}

bool byGmp(mpz_srcptr n, unsigned long base, mpz_srcptr d, mpz_srcptr nMinus1, mp_bitcnt_t twos)
{
    BigInt x(base);
    mpz_powm(x.get(), x.get(), d, n);
    return reachesMinusOne(x.get(), nMinus1, twos, [n](mpz_ptr y) {
        mpz_mul(y, y, y);
        mpz_mod(y, y, n);
    });
}

bool byIfma(mpz_srcptr n, unsigned long base, mpz_srcptr d, mp_bitcnt_t twos)
{
    IfmaMontgomery arithmetic(n);
    arithmetic.power(base, d);
    if (arithmetic.isOne() || arithmetic.isMinusOne())
        return true;
    for (mp_bitcnt_t j = 1; j < twos; ++j) {
        arithmetic.square();
        if (arithmetic.isMinusOne())
            return true;
        if (arithmetic.isOne())
            return false;
    }
    return false;
}

bool byRegisters(ModularArithmetic& arithmetic, mpz_srcptr n, unsigned long base, mpz_srcptr d,
                 mpz_srcptr nMinus1, mp_bitcnt_t twos, const LongRunSettings& settings)
{
    BigInt x;
    std::unique_ptr<CheckpointStore> none = noCheckpoints();
    checkedPower(arithmetic, base, d, n, *none, settings, "strong test to base " + std::to_string(base), x.get());
    arithmetic.set(kX, x.get());
    return reachesMinusOne(x.get(), nMinus1, twos, [&](mpz_ptr y) {
        if (settings.abandon && settings.abandon->load(std::memory_order_relaxed))
            throw RunAbandoned();
        arithmetic.square(kX);
        arithmetic.get(kX, y);
    });
}

}  // namespace

StrongTestResult strongProbablePrimeTest(mpz_srcptr n, unsigned long base, const LongRunSettings& settings)
{
    assert(mpz_odd_p(n) && mpz_cmp_ui(n, base + 1) > 0 && "the strong test needs an odd n above base + 1");
    BigInt nMinus1, d;
    mpz_sub_ui(nMinus1.get(), n, 1);
    const mp_bitcnt_t twos = mpz_scan1(nMinus1.get(), 0);
    mpz_tdiv_q_2exp(d.get(), nMinus1.get(), twos);

    bool passes = false;
    const Path path = pathFor(mpz_sizeinbase(n, 2));
    if (path == Path::Ifma) {
        passes = byIfma(n, base, d.get(), twos);
    } else if (path == Path::MpzPowm) {
        passes = byGmp(n, base, d.get(), nMinus1.get(), twos);
    } else {
        std::unique_ptr<ModularArithmetic> arithmetic = makeModularArithmetic(n, 4, settings.threads);
        try {
            passes = isGmpArithmetic(*arithmetic)
                         ? byGmp(n, base, d.get(), nMinus1.get(), twos)
                         : byRegisters(*arithmetic, n, base, d.get(), nMinus1.get(), twos, settings);
        } catch (const RunAbandoned&) {
            return StrongTestResult::Abandoned;
        }
    }
    return passes ? StrongTestResult::ProbablePrime : StrongTestResult::Composite;
}

namespace {

// Processor time of this thread when one thread works, else wall time.
class SampleClock {
public:
    explicit SampleClock(unsigned threads) : wall_(threads > 1) {}
    double now() const
    {
        if (wall_)
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }

private:
    bool wall_;
};

}  // namespace

double strongTestSeconds(mpz_srcptr n, unsigned long base, unsigned threads)
{
    const size_t bits = mpz_sizeinbase(n, 2);
    const SampleClock clock(threads);
    const Path path = pathFor(bits);
    if (path == Path::Ifma) {
        const size_t sampleBits = std::max<size_t>(bits / 16, 32);
        BigInt exponent;
        mpz_tdiv_q_2exp(exponent.get(), n, bits > sampleBits ? bits - sampleBits : 0);
        IfmaMontgomery arithmetic(n);
        const double start = clock.now();
        arithmetic.power(base, exponent.get());
        return (clock.now() - start) / static_cast<double>(mpz_sizeinbase(exponent.get(), 2)) * static_cast<double>(bits);
    }
    if (path == Path::MpzPowm) {
        // A call of mpz_powm pays a set-up (its table of powers) whatever the
        // exponent: the difference of two exponent lengths leaves it out.
        const size_t shortBits = std::max<size_t>(bits / 16, 32);
        BigInt b(base), shortExponent, longExponent, x;
        mpz_tdiv_q_2exp(shortExponent.get(), n, bits > shortBits ? bits - shortBits : 0);
        mpz_tdiv_q_2exp(longExponent.get(), n, bits > 2 * shortBits ? bits - 2 * shortBits : 0);
        double start = clock.now();
        mpz_powm(x.get(), b.get(), shortExponent.get(), n);
        const double shortSeconds = clock.now() - start;
        start = clock.now();
        mpz_powm(x.get(), b.get(), longExponent.get(), n);
        const double longSeconds = clock.now() - start;
        const double perBit = std::max(longSeconds - shortSeconds, longSeconds / 4) / static_cast<double>(shortBits);
        return perBit * static_cast<double>(bits);
    }
    std::unique_ptr<ModularArithmetic> arithmetic = makeModularArithmetic(n, 4, threads);
    BigInt x(base);
    arithmetic->set(kX, x.get());
    arithmetic->square(kX);  // first touches of the arrays, out of the sample
    const double start = clock.now();
    for (unsigned step = 0; step < kSampleSteps; ++step) {
        arithmetic->square(kX);
        arithmetic->multiplySmall(kX, static_cast<uint32_t>(base));
    }
    const double perStep = (clock.now() - start) / kSampleSteps;
    // A 1 bit of the exponent adds the multiplySmall, about half the bits:
    // counting it on every step covers the Gerbicz check's 5/sqrt(bits).
    return perStep * static_cast<double>(bits);
}

}  // namespace arithmetic
