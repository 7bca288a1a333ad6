// The tester's arithmetic modulo N: FFT against GMP, per modular squaring
// step, in one process on the same numbers.
//   1. general N of 10,000, 100,000, 1,000,000 and 10,000,000 digits:
//      Fermat powerings base 3, ten of them with random 200-bit exponents
//      (2,000 steps), mpz_powm against square + multiplySmall(3) on the FFT
//      arithmetic (10,000,000 digits: two 10-bit exponents, times scaled to
//      2,000 steps and marked so); targets 2x at 100,000 digits and 3x at
//      1,000,000;
//   2. Lucas-Lehmer steps s = s^2 - 2 for q near 332,000 (2,000 steps) and
//      3,300,000 (1,000 steps), in chunks of a tenth:
//      GMP's square and fold at bit q (the loop of lucas_lehmer.cpp) against
//      the IBDWT; target 3x at 3,300,000.
// Each FFT size runs with 1 and 2 threads (--threads N: that count only).
// Planning (FFTW_MEASURE, limited in time) is done before the clock starts,
// as a long run does it once. Every FFT result is checked against GMP's.
//   --quick        100,000 and 1,000,000 digits and q near 3,300,000, fewer steps
//   --cpu          processor time instead of wall time (see useProcessorTime)
//   --crossover    per-step processor times of GMP and FFT at small sizes,
//                  1 thread, for the constants in modular_arithmetic_choice.cpp
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gmp.h>

#include "arithmetic/fft_general_arithmetic.h"
#include "arithmetic/mersenne_arithmetic.h"

namespace {

// Wall time, or with --cpu the process's processor time: on a machine
// busy with other work the steadier measure, and the same thing for one
// thread (with two threads it adds both threads' times up, so the 2-thread
// lines are only meaningful in wall time).
bool useProcessorTime = false;

struct Clock {
    using time_point = double;
    static double now()
    {
        timespec t{};
        clock_gettime(useProcessorTime ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_MONOTONIC, &t);
        return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
    }
};

double seconds(double start) { return Clock::now() - start; }

struct Number {
    mpz_t v;
    Number() { mpz_init(v); }
    ~Number() { mpz_clear(v); }
    Number(const Number&) = delete;
    Number& operator=(const Number&) = delete;
};

gmp_randstate_t& randomState()
{
    static gmp_randstate_t state;
    static bool ready = false;
    if (!ready) {
        gmp_randinit_mt(state);
        gmp_randseed_ui(state, 20261210);
        ready = true;
    }
    return state;
}

// A random odd number of exactly `digits` decimal digits.
void randomDecimal(mpz_ptr n, size_t digits)
{
    Number low, span;
    mpz_ui_pow_ui(low.v, 10, digits - 1);
    mpz_mul_ui(span.v, low.v, 9);
    mpz_urandomm(n, randomState(), span.v);
    mpz_add(n, n, low.v);
    mpz_setbit(n, 0);
}

// Seconds of base^exponent mod n by mpz_powm.
double gmpPowering(mpz_ptr result, mpz_srcptr n, unsigned base, mpz_srcptr exponent)
{
    Number b;
    mpz_set_ui(b.v, base);
    auto start = Clock::now();
    mpz_powm(result, b.v, exponent, n);
    return seconds(start);
}

// The same on an arithmetic: left-to-right square and multiplySmall.
double arithmeticPowering(arithmetic::ModularArithmetic& arithmetic, mpz_ptr result, unsigned base, mpz_srcptr exponent)
{
    Number b;
    mpz_set_ui(b.v, base);
    arithmetic.set(0, b.v);
    auto start = Clock::now();
    for (size_t i = mpz_sizeinbase(exponent, 2) - 1; i-- > 0;) {
        arithmetic.square(0);
        if (mpz_tstbit(exponent, i))
            arithmetic.multiplySmall(0, base);
    }
    double time = seconds(start);
    arithmetic.get(0, result);
    return time;
}

// `steps` Lucas-Lehmer steps on s (0 <= s < 2^q - 1), as lucas_lehmer.cpp does them.
double gmpLucasLehmer(mpz_ptr s, unsigned long q, unsigned long steps)
{
    Number mersenne, high;
    mpz_setbit(mersenne.v, q);
    mpz_sub_ui(mersenne.v, mersenne.v, 1);
    auto start = Clock::now();
    for (unsigned long i = 0; i < steps; ++i) {
        mpz_mul(s, s, s);
        mpz_tdiv_q_2exp(high.v, s, q);
        mpz_tdiv_r_2exp(s, s, q);
        mpz_add(s, s, high.v);
        while (mpz_cmp(s, mersenne.v) >= 0)
            mpz_sub(s, s, mersenne.v);
        if (mpz_cmp_ui(s, 2) < 0)
            mpz_add(s, s, mersenne.v);
        mpz_sub_ui(s, s, 2);
    }
    return seconds(start);
}

// The same on register 0 of the IBDWT.
double fftLucasLehmer(arithmetic::ModularArithmetic& arithmetic, unsigned long steps)
{
    auto start = Clock::now();
    for (unsigned long i = 0; i < steps; ++i) {
        arithmetic.square(0);
        arithmetic.addSmall(0, -2);
    }
    return seconds(start);
}

std::vector<unsigned> threadCounts(unsigned only)
{
    if (only)
        return {only};
    return {1, 2};
}

// Work is timed in chunks, GMP's and the FFT's in turn, so that a load
// from other processes falls on both alike; the ratio of the totals is
// printed, and that of the best chunks (the steadier one on a busy machine).
struct Times {
    double total = 0.0;
    double best = 1e300;
    void add(double t)
    {
        total += t;
        best = std::min(best, t);
    }
};

bool general(size_t digits, size_t chunkBits, size_t chunks, size_t reportSteps, unsigned onlyThreads)
{
    Number n;
    randomDecimal(n.v, digits);
    std::vector<std::unique_ptr<Number>> exponents;
    for (size_t i = 0; i < chunks; ++i) {
        exponents.push_back(std::make_unique<Number>());
        mpz_urandomb(exponents.back()->v, randomState(), chunkBits);
        mpz_setbit(exponents.back()->v, chunkBits - 1);
    }
    const size_t steps = chunkBits * chunks;
    const double scale = static_cast<double>(reportSteps) / static_cast<double>(steps);
    bool ok = true;
    for (unsigned threads : threadCounts(onlyThreads)) {
        auto planStart = Clock::now();
        arithmetic::FftGeneralArithmetic arithmetic(n.v, 1, threads);
        double planning = seconds(planStart);
        {
            // One untimed square of a random residue: with short exponents
            // 3^e stays below N and would show no round-off worth the name.
            Number r;
            mpz_urandomm(r.v, randomState(), n.v);
            arithmetic.set(0, r.v);
            arithmetic.square(0);
        }
        Times gmp, fft;
        bool same = true;
        for (size_t i = 0; i < chunks; ++i) {
            Number expected, got;
            gmp.add(gmpPowering(expected.v, n.v, 3, exponents[i]->v));
            fft.add(arithmeticPowering(arithmetic, got.v, 3, exponents[i]->v));
            same = same && mpz_cmp(got.v, expected.v) == 0;
        }
        ok = ok && same;
        std::printf("general N %8zu digits, %zu steps%s: mpz_powm %9.3f s  FFT %9.3f s  ratio %.2fx (best chunk %.2fx)  "
                    "[%u thread%s, %.3f ms/step, L=%zu M=%zu b=%d, round-off %.4f, planning %.1f s]%s\n",
                    digits, reportSteps, scale != 1.0 ? " (scaled)" : "", gmp.total * scale, fft.total * scale,
                    gmp.total / fft.total, gmp.best / fft.best, threads, threads > 1 ? "s" : "", 1e3 * fft.total / steps,
                    arithmetic.transformLength(), arithmetic.cyclicLength(), arithmetic.digitBits(), arithmetic.worstRoundoff(),
                    planning, same ? "" : "  RESULT DIFFERS");
        if (scale != 1.0)
            std::printf("  (timed %zu steps, scaled to %zu)\n", steps, reportSteps);
        std::fflush(stdout);
    }
    return ok;
}

bool lucasLehmer(unsigned long near, unsigned long chunkSteps, size_t chunks, unsigned onlyThreads)
{
    Number qNumber;
    mpz_set_ui(qNumber.v, near);
    mpz_nextprime(qNumber.v, qNumber.v);
    unsigned long q = mpz_get_ui(qNumber.v);
    const unsigned long steps = chunkSteps * chunks;
    bool ok = true;
    for (unsigned threads : threadCounts(onlyThreads)) {
        auto planStart = Clock::now();
        arithmetic::MersenneArithmetic arithmetic(q, 1, threads);
        double planning = seconds(planStart);
        Number expected, got;
        mpz_set_ui(expected.v, 4);
        arithmetic.set(0, expected.v);
        Times gmp, fft;
        for (size_t i = 0; i < chunks; ++i) {
            gmp.add(gmpLucasLehmer(expected.v, q, chunkSteps));
            fft.add(fftLucasLehmer(arithmetic, chunkSteps));
        }
        arithmetic.get(0, got.v);
        bool same = mpz_cmp(got.v, expected.v) == 0;
        ok = ok && same;
        std::printf("Lucas-Lehmer q=%lu, %lu steps: GMP square+fold %8.3f s  IBDWT %8.3f s  ratio %.2fx (best chunk %.2fx)  "
                    "[%u thread%s, %.3f ms/step, L=%zu, round-off %.4f, planning %.1f s]%s\n",
                    q, steps, gmp.total, fft.total, gmp.total / fft.total, gmp.best / fft.best, threads, threads > 1 ? "s" : "",
                    1e3 * fft.total / steps, arithmetic.transformLength(), arithmetic.worstRoundoff(), planning,
                    same ? "" : "  RESULT DIFFERS");
        std::fflush(stdout);
    }
    return ok;
}

void crossover()
{
    std::printf("general N, per modular squaring step, 1 thread (ms): digits, mpz_powm, FFT\n");
    for (size_t digits : {500, 1000, 1500, 2000, 3000, 4000, 6000, 10000}) {
        Number n, exponent, expected, got;
        randomDecimal(n.v, digits);
        size_t bits = 400;
        mpz_urandomb(exponent.v, randomState(), bits);
        mpz_setbit(exponent.v, bits - 1);
        arithmetic::FftGeneralArithmetic arithmetic(n.v, 1, 1);
        double gmp = 1e300, fft = 1e300;
        for (int round = 0; round < 3; ++round) {
            gmp = std::min(gmp, gmpPowering(expected.v, n.v, 3, exponent.v));
            fft = std::min(fft, arithmeticPowering(arithmetic, got.v, 3, exponent.v));
        }
        std::printf("  %6zu  %8.4f  %8.4f  %.2fx%s\n", digits, 1e3 * gmp / bits, 1e3 * fft / bits, gmp / fft,
                    mpz_cmp(got.v, expected.v) ? "  RESULT DIFFERS" : "");
        std::fflush(stdout);
    }
    std::printf("2^q-1, per Lucas-Lehmer step, 1 thread (ms): q, GMP square+fold, IBDWT\n");
    for (unsigned long q : {1000ul, 1500ul, 2000ul, 2500ul, 3000ul, 4000ul, 6000ul, 10000ul}) {
        Number expected, got;
        unsigned long steps = 2000;
        mpz_set_ui(expected.v, 4);
        arithmetic::MersenneArithmetic arithmetic(q, 1, 1);
        arithmetic.set(0, expected.v);
        double gmp = 1e300, fft = 1e300;
        for (int round = 0; round < 3; ++round) {
            gmp = std::min(gmp, gmpLucasLehmer(expected.v, q, steps / 3));
            fft = std::min(fft, fftLucasLehmer(arithmetic, steps / 3));
        }
        arithmetic.get(0, got.v);
        std::printf("  %6lu  %8.4f  %8.4f  %.2fx%s\n", q, 1e3 * gmp / steps, 1e3 * fft / steps, gmp / fft,
                    mpz_cmp(got.v, expected.v) ? "  RESULT DIFFERS" : "");
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    unsigned onlyThreads = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--quick"))
            quick = true;
        else if (!std::strcmp(argv[i], "--cpu"))
            useProcessorTime = true;
        else if (!std::strcmp(argv[i], "--crossover")) {
            useProcessorTime = true;
            crossover();
            return 0;
        } else if (!std::strcmp(argv[i], "--threads") && i + 1 < argc)
            onlyThreads = static_cast<unsigned>(std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [--quick] [--threads N] [--cpu] [--crossover]\n", argv[0]);
            return 2;
        }
    }
    std::printf("times: %s\n", useProcessorTime ? "processor time of the process" : "wall time");
    bool ok = true;
    if (quick) {
        ok = general(100000, 100, 4, 400, onlyThreads) && ok;
        ok = general(1000000, 50, 4, 200, onlyThreads) && ok;
        ok = lucasLehmer(3300000, 50, 4, onlyThreads) && ok;
    } else {
        ok = general(10000, 200, 10, 2000, onlyThreads) && ok;
        ok = general(100000, 200, 10, 2000, onlyThreads) && ok;
        ok = general(1000000, 200, 10, 2000, onlyThreads) && ok;
        ok = general(10000000, 10, 2, 2000, onlyThreads) && ok;
        ok = lucasLehmer(332000, 200, 10, onlyThreads) && ok;
        ok = lucasLehmer(3300000, 100, 10, onlyThreads) && ok;
    }
    return ok ? 0 : 1;
}
