// The tester's arithmetic modulo N: FFT against GMP, per modular squaring
// step, in one process on the same numbers.
//   1. general N of 10,000, 100,000, 1,000,000 and 10,000,000 digits.
//      GMP's side is what a whole Fermat test pays per exponent bit: the
//      cost of one more bit in a long mpz_powm, (time with a 2,000-bit
//      exponent - time with a 1,000-bit one) / 1,000 (at 10,000,000 digits
//      200 and 100 bits, which share mpz_powm's window size: there the
//      figure is about 10 % above a long powering's). The FFT's side:
//      steps of square + multiplySmall(3) on a random exponent, as the
//      Fermat loop makes them. Targets 3x at 10,000 digits, 4x from
//      100,000 on; two threads 1.3x one at 100,000 digits, 1.7x from
//      1,000,000 on.
//   2. Lucas-Lehmer steps s = s^2 - 2 for q near 332,000 and 3,300,000:
//      GMP's square and fold at bit q (the loop of lucas_lehmer.cpp)
//      against the IBDWT; target 6x at 3,300,000, 1.7x that with two
//      threads.
// One thread is timed in processor time (steady on a machine shared with
// other work); the two-thread speed-up is wall time against wall time, the
// two timed in alternating chunks so that a load from other processes
// falls on both alike (its best chunks are compared). Plans are measured
// in full before the clock starts, as the tester does once per machine.
// Every FFT result is checked against GMP's.
//   --quick        100,000 and 1,000,000 digits and q near 3,300,000, fewer steps
//   --threads N    the FFT with N threads only (no speed-up line)
//   --chunked      GMP's side also as the bench had it before: mpz_powm
//                  calls with 200-bit exponents, setup included
//   --crossover    per-step processor times of GMP and FFT at small sizes,
//                  1 thread, for the constants in modular_arithmetic_choice.cpp
//   --transforms   complex transform pairs of the candidate lengths, 1 and
//                  2 threads, for the tables of fft_lengths.cpp
//   --roundoff     worst round-off per length at the table's digit size and
//                  one bit more, for fft::bitsPerDigit
//   --threads-table   one against two threads per step at lengths from
//                  20,000 bits on, for the thresholds in
//                  modular_arithmetic_choice.cpp
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <gmp.h>

#include "arithmetic/fft_general_arithmetic.h"
#include "arithmetic/fft_lengths.h"
#include "arithmetic/fft_passes.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/fft_product_transform.h"
#include "arithmetic/mersenne_arithmetic.h"

namespace {

double now(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
double processorTime() { return now(CLOCK_PROCESS_CPUTIME_ID); }
double wallTime() { return now(CLOCK_MONOTONIC); }

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

void randomExponent(mpz_ptr e, size_t bits)
{
    mpz_urandomb(e, randomState(), bits);
    mpz_setbit(e, bits - 1);
}

// Processor seconds of base^exponent mod n by mpz_powm.
double gmpPowering(mpz_ptr result, mpz_srcptr n, unsigned base, mpz_srcptr exponent)
{
    Number b;
    mpz_set_ui(b.v, base);
    double start = processorTime();
    mpz_powm(result, b.v, exponent, n);
    return processorTime() - start;
}

// The same on an arithmetic: left-to-right square and multiplySmall, timed
// on `clock`.
double arithmeticPowering(arithmetic::ModularArithmetic& arithmetic, mpz_ptr result, unsigned base, mpz_srcptr exponent,
                          clockid_t clock)
{
    Number b;
    mpz_set_ui(b.v, base);
    arithmetic.set(0, b.v);
    double start = now(clock);
    for (size_t i = mpz_sizeinbase(exponent, 2) - 1; i-- > 0;) {
        arithmetic.square(0);
        if (mpz_tstbit(exponent, i))
            arithmetic.multiplySmall(0, base);
    }
    double time = now(clock) - start;
    arithmetic.get(0, result);
    return time;
}

// `steps` Lucas-Lehmer steps on s (0 <= s < 2^q - 1), as lucas_lehmer.cpp does them.
double gmpLucasLehmer(mpz_ptr s, unsigned long q, unsigned long steps)
{
    Number mersenne, high;
    mpz_setbit(mersenne.v, q);
    mpz_sub_ui(mersenne.v, mersenne.v, 1);
    double start = processorTime();
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
    return processorTime() - start;
}

double fftLucasLehmer(arithmetic::ModularArithmetic& arithmetic, unsigned long steps, clockid_t clock)
{
    double start = now(clock);
    for (unsigned long i = 0; i < steps; ++i) {
        arithmetic.square(0);
        arithmetic.addSmall(0, -2);
    }
    return now(clock) - start;
}

// The tester keeps measured plans (a WisdomStore), so it measures them in
// full, once; the bench does the same, keeping them in memory only.
class MemoryWisdom final : public arithmetic::fft::WisdomStore {
public:
    std::string load() override { return text_; }
    void save(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

struct Options {
    bool quick = false;
    unsigned onlyThreads = 0;
    bool chunked = false;
};

// GMP's processor seconds per exponent bit of a long powering.
double gmpPerBit(mpz_srcptr n, size_t shortBits, size_t longBits, int rounds)
{
    Number shortExponent, longExponent, result;
    randomExponent(shortExponent.v, shortBits);
    randomExponent(longExponent.v, longBits);
    double shortTime = 1e300, longTime = 1e300;
    for (int round = 0; round < rounds; ++round) {
        shortTime = std::min(shortTime, gmpPowering(result.v, n, 3, shortExponent.v));
        longTime = std::min(longTime, gmpPowering(result.v, n, 3, longExponent.v));
    }
    return (longTime - shortTime) / static_cast<double>(longBits - shortBits);
}

// The old baseline: ten mpz_powm calls of 200 bits each, set-up included.
double gmpChunkedPerBit(mpz_srcptr n, size_t chunkBits, size_t chunks)
{
    double total = 0;
    for (size_t i = 0; i < chunks; ++i) {
        Number exponent, result;
        randomExponent(exponent.v, chunkBits);
        total += gmpPowering(result.v, n, 3, exponent.v);
    }
    return total / static_cast<double>(chunkBits * chunks);
}

bool general(size_t digits, size_t steps, size_t shortBits, size_t longBits, int gmpRounds, const Options& options)
{
    Number n, exponent, expected, got;
    randomDecimal(n.v, digits);
    randomExponent(exponent.v, steps);
    {
        Number three;
        mpz_set_ui(three.v, 3);
        mpz_powm(expected.v, three.v, exponent.v, n.v);
    }
    const double gmp = gmpPerBit(n.v, shortBits, longBits, gmpRounds);
    std::printf("general N %8zu digits: mpz_powm %.4f ms per bit of a long powering ((%zu-bit - %zu-bit) / %zu)\n",
                digits, 1e3 * gmp, longBits, shortBits, longBits - shortBits);
    if (options.chunked) {
        double chunked = gmpChunkedPerBit(n.v, digits >= 10000000 ? 10 : 200, digits >= 10000000 ? 2 : 10);
        std::printf("  (the old baseline, mpz_powm in %s-bit calls: %.4f ms per bit)\n", digits >= 10000000 ? "10" : "200",
                    1e3 * chunked);
    }
    std::vector<unsigned> counts = options.onlyThreads ? std::vector<unsigned>{options.onlyThreads} : std::vector<unsigned>{1, 2};
    std::vector<std::unique_ptr<arithmetic::FftGeneralArithmetic>> arithmetics;
    for (unsigned threads : counts) {
        double start = wallTime();
        arithmetics.push_back(std::make_unique<arithmetic::FftGeneralArithmetic>(n.v, 1, threads));
        // One untimed square of a random residue: with short exponents 3^e
        // stays below N and would show no round-off worth the name.
        Number r;
        mpz_urandomm(r.v, randomState(), n.v);
        arithmetics.back()->set(0, r.v);
        arithmetics.back()->square(0);
        std::printf("  planning, %u thread%s: %.1f s\n", threads, threads > 1 ? "s" : "", wallTime() - start);
    }
    // Processor time of one thread; wall time of each, in alternating
    // chunks, best chunk kept.
    const int chunks = 3;
    std::vector<double> bestWall(counts.size(), 1e300);
    double bestProcessor = 1e300;
    bool same = true;
    for (int chunk = 0; chunk < chunks; ++chunk) {
        for (size_t i = 0; i < counts.size(); ++i) {
            double wallStart = wallTime(), processorStart = processorTime();
            arithmeticPowering(*arithmetics[i], got.v, 3, exponent.v, CLOCK_MONOTONIC);
            bestWall[i] = std::min(bestWall[i], wallTime() - wallStart);
            if (counts[i] == 1)
                bestProcessor = std::min(bestProcessor, processorTime() - processorStart);
            same = same && mpz_cmp(got.v, expected.v) == 0;
        }
    }
    for (size_t i = 0; i < counts.size(); ++i) {
        const auto& a = *arithmetics[i];
        double perStep = (counts[i] == 1 ? bestProcessor : bestWall[i]) / static_cast<double>(steps);
        std::printf("  FFT %u thread%s: %.4f ms per step (%s)  ratio %.2fx  [M=%zu b=%d, round-off %.4f, %s passes]%s\n",
                    counts[i], counts[i] > 1 ? "s" : "", 1e3 * perStep, counts[i] == 1 ? "processor" : "wall",
                    gmp / perStep, a.transformLength(), a.digitBits(), a.worstRoundoff(),
                    arithmetic::fft::passes().name, same ? "" : "  RESULT DIFFERS");
    }
    if (counts.size() == 2)
        std::printf("  two threads against one (wall, best of %d chunks of %zu steps): %.2fx\n", chunks, steps,
                    bestWall[0] / bestWall[1]);
    std::fflush(stdout);
    return same;
}

bool lucasLehmer(unsigned long near, unsigned long steps, const Options& options)
{
    Number qNumber;
    mpz_set_ui(qNumber.v, near);
    mpz_nextprime(qNumber.v, qNumber.v);
    unsigned long q = mpz_get_ui(qNumber.v);
    Number gmpTerm, got;
    mpz_set_ui(gmpTerm.v, 4);
    double gmp = 1e300;
    for (int chunk = 0; chunk < 3; ++chunk)
        gmp = std::min(gmp, gmpLucasLehmer(gmpTerm.v, q, steps / 3) / static_cast<double>(steps / 3));
    std::printf("Lucas-Lehmer q=%lu: GMP square+fold %.4f ms per step\n", q, 1e3 * gmp);
    std::vector<unsigned> counts = options.onlyThreads ? std::vector<unsigned>{options.onlyThreads} : std::vector<unsigned>{1, 2};
    std::vector<std::unique_ptr<arithmetic::MersenneArithmetic>> arithmetics;
    std::vector<Number> terms(counts.size());
    for (size_t i = 0; i < counts.size(); ++i) {
        double start = wallTime();
        arithmetics.push_back(std::make_unique<arithmetic::MersenneArithmetic>(q, 1, counts[i]));
        mpz_set_ui(terms[i].v, 4);
        arithmetics.back()->set(0, terms[i].v);
        std::printf("  planning, %u thread%s: %.1f s\n", counts[i], counts[i] > 1 ? "s" : "", wallTime() - start);
    }
    std::vector<double> bestWall(counts.size(), 1e300);
    double bestProcessor = 1e300;
    const int chunks = 3;
    for (int chunk = 0; chunk < chunks; ++chunk) {
        for (size_t i = 0; i < counts.size(); ++i) {
            double wallStart = wallTime(), processorStart = processorTime();
            fftLucasLehmer(*arithmetics[i], steps, CLOCK_MONOTONIC);
            bestWall[i] = std::min(bestWall[i], wallTime() - wallStart);
            if (counts[i] == 1)
                bestProcessor = std::min(bestProcessor, processorTime() - processorStart);
        }
    }
    // Every instance made chunks * steps steps from 4: compare with GMP.
    Number expected;
    mpz_set_ui(expected.v, 4);
    gmpLucasLehmer(expected.v, q, chunks * steps);
    bool ok = true;
    for (size_t i = 0; i < counts.size(); ++i) {
        arithmetics[i]->get(0, got.v);
        bool same = mpz_cmp(got.v, expected.v) == 0;
        ok = ok && same;
        double perStep = (counts[i] == 1 ? bestProcessor : bestWall[i]) / static_cast<double>(steps);
        std::printf("  IBDWT %u thread%s: %.4f ms per step (%s)  ratio %.2fx  [L=%zu, round-off %.4f]%s\n", counts[i],
                    counts[i] > 1 ? "s" : "", 1e3 * perStep, counts[i] == 1 ? "processor" : "wall", gmp / perStep,
                    arithmetics[i]->transformLength(), arithmetics[i]->worstRoundoff(), same ? "" : "  RESULT DIFFERS");
    }
    if (counts.size() == 2)
        std::printf("  two threads against one (wall, best of %d chunks of %lu steps): %.2fx\n", chunks, steps,
                    bestWall[0] / bestWall[1]);
    std::fflush(stdout);
    return ok;
}

void crossover()
{
    std::printf("general N, per modular squaring step, 1 thread (ms): digits, mpz_powm, FFT\n");
    for (size_t digits : {1000, 1500, 2000, 3000, 4000, 6000, 10000}) {
        Number n, exponent, expected, got;
        randomDecimal(n.v, digits);
        size_t bits = 400;
        randomExponent(exponent.v, bits);
        arithmetic::FftGeneralArithmetic arithmetic(n.v, 1, 1);
        double gmp = 1e300, fft = 1e300;
        for (int round = 0; round < 3; ++round) {
            gmp = std::min(gmp, gmpPowering(expected.v, n.v, 3, exponent.v));
            fft = std::min(fft, arithmeticPowering(arithmetic, got.v, 3, exponent.v, CLOCK_PROCESS_CPUTIME_ID));
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
            fft = std::min(fft, fftLucasLehmer(arithmetic, steps / 3, CLOCK_PROCESS_CPUTIME_ID));
        }
        arithmetic.get(0, got.v);
        std::printf("  %6lu  %8.4f  %8.4f  %.2fx%s\n", q, 1e3 * gmp / steps, 1e3 * fft / steps, gmp / fft,
                    mpz_cmp(got.v, expected.v) ? "  RESULT DIFFERS" : "");
        std::fflush(stdout);
    }
}

// Wall milliseconds of one forward and one backward transform of length
// H, whole on one thread or split into halves on two.
double transformPair(const arithmetic::fft::ProductTransform& transform, arithmetic::fft::RealArray& data)
{
    const size_t h = transform.length();
    const int repeats = static_cast<int>(std::max<size_t>(3, 20000000 / (h * 20)));
    const double scale = 1.0 / static_cast<double>(h);
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        double start = wallTime();
        for (int i = 0; i < repeats; ++i)
            transform.run(data.data(), [&](const arithmetic::fft::SpectrumSection& s, double* values) {
                for (size_t k = 0; k < 2 * s.length; ++k)  // keep the values bounded
                    values[k] *= scale;
            });
        best = std::min(best, (wallTime() - start) / repeats);
    }
    return 1e3 * best;
}

void transforms(const std::vector<size_t>& lengths)
{
    std::printf("complex transform pairs (forward + backward + a scaling pass), wall ms: H, whole on 1 thread, split on 2,"
                " ns per point per log2 (1 thread)\n");
    for (size_t h : lengths) {
        arithmetic::fft::RealArray data(2 * h);
        for (size_t k = 0; k < 2 * h; ++k)
            data[k] = static_cast<double>((k * 7919) % 1000) - 500.0;
        double one = transformPair(arithmetic::fft::ProductTransform(h, false), data);
        double two = transformPair(arithmetic::fft::ProductTransform(h, true), data);
        std::printf("  %9zu  %8.4f  %8.4f  (%.2fx)  %.3f\n", h, one, two, one / two,
                    1e6 * one / (static_cast<double>(h) * std::log2(static_cast<double>(h))));
        std::fflush(stdout);
    }
}

// Wall time per step on one and two threads, in alternating chunks (best
// chunk of each), for the lengths from which threads pay.
template <typename Arithmetic, typename Step>
void threadsAt(const char* label, size_t size, Arithmetic& one, Arithmetic& two, Step step)
{
    const int chunks = 5;
    double best[2] = {1e300, 1e300};
    Arithmetic* arithmetics[2] = {&one, &two};
    // Chunks of about a tenth of a second.
    double probe = wallTime();
    step(one);
    double perStep = std::max(wallTime() - probe, 1e-6);
    const int steps = std::max(3, static_cast<int>(0.1 / perStep));
    for (int chunk = 0; chunk < chunks; ++chunk) {
        for (int i = 0; i < 2; ++i) {
            double start = wallTime();
            for (int k = 0; k < steps; ++k)
                step(*arithmetics[i]);
            best[i] = std::min(best[i], (wallTime() - start) / steps);
        }
    }
    std::printf("  %s %9zu  length %8zu  1 thread %8.4f ms  2 threads %8.4f ms  %.2fx\n", label, size,
                one.transformLength(), 1e3 * best[0], 1e3 * best[1], best[0] / best[1]);
    std::fflush(stdout);
}

void threadsTable()
{
    std::printf("two threads against one, wall time per step (best of 5 alternating chunks)\n");
    for (size_t bits : {20000, 50000, 100000, 200000, 400000, 1000000, 3321928, 10000000}) {
        Number n, r;
        mpz_urandomb(n.v, randomState(), bits);
        mpz_setbit(n.v, bits - 1);
        mpz_setbit(n.v, 0);
        arithmetic::FftGeneralArithmetic one(n.v, 1, 1), two(n.v, 1, 2);
        mpz_urandomm(r.v, randomState(), n.v);
        one.set(0, r.v);
        two.set(0, r.v);
        threadsAt("general bits", bits, one, two, [](arithmetic::FftGeneralArithmetic& a) {
            a.square(0);
            a.multiplySmall(0, 3);
        });
    }
    for (unsigned long q : {50021ul, 100003ul, 200003ul, 500009ul, 1000003ul, 3300001ul, 10000019ul}) {
        arithmetic::MersenneArithmetic one(q, 1, 1), two(q, 1, 2);
        Number four;
        mpz_set_ui(four.v, 4);
        one.set(0, four.v);
        two.set(0, four.v);
        threadsAt("2^q-1, q   ", q, one, two, [](arithmetic::MersenneArithmetic& a) {
            a.square(0);
            a.addSmall(0, -2);
        });
    }
}

// The worst round-off of `steps` steps, and the layout it came from, at the
// table's digit sizes (level 0) and wider ones (level -1, -2): for the
// budget of fft::bitsPerDigit. Budget = 2 * bits per digit (the average
// for the IBDWT) + log2(length) / 2.
void roundoff()
{
    std::printf("worst round-off of 300 steps: budget, layout, round-off\n");
    for (size_t bits : {20000, 100000, 300000, 1000000, 3321928, 10000000, 33219281}) {
        for (int level : {0, -1}) {
            Number n, r;
            mpz_urandomb(n.v, randomState(), bits);
            mpz_setbit(n.v, bits - 1);
            mpz_setbit(n.v, 0);
            arithmetic::FftGeneralArithmetic a(n.v, 1, 1, level);
            a.setRoundoffLimitForTest(0.49);
            mpz_urandomm(r.v, randomState(), n.v);
            a.set(0, r.v);
            for (int i = 0; i < 300 && a.escalations() == 0; ++i) {
                a.square(0);
                if (i % 2)
                    a.multiplySmall(0, 3);
            }
            double length = static_cast<double>(a.transformLength());
            std::printf("  general %9zu bits  level %2d  budget %.2f  M=%zu b=%d  %.4f%s\n", bits, level,
                        2.0 * a.digitBits() + 0.5 * std::log2(length), a.transformLength(), a.digitBits(),
                        a.worstRoundoff(), a.escalations() ? " (escalated)" : "");
            std::fflush(stdout);
        }
    }
    for (unsigned long q : {20011ul, 100003ul, 330017ul, 1000003ul, 3300001ul, 10000019ul}) {
        for (int level : {0, -1, -2}) {
            arithmetic::MersenneArithmetic a(q, 1, 1, level);
            a.setRoundoffLimitForTest(0.49);
            Number four;
            mpz_set_ui(four.v, 4);
            a.set(0, four.v);
            for (int i = 0; i < 300 && a.escalations() == 0; ++i) {
                a.square(0);
                a.addSmall(0, -2);
            }
            double length = static_cast<double>(a.transformLength());
            std::printf("  2^q-1 q=%8lu  level %2d  budget %.2f  L=%zu bits %.3f  %.4f%s\n", q, level,
                        2.0 * static_cast<double>(q) / length + 0.5 * std::log2(length), a.transformLength(),
                        static_cast<double>(q) / length, a.worstRoundoff(), a.escalations() ? " (escalated)" : "");
            std::fflush(stdout);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    MemoryWisdom wisdom;
    arithmetic::fft::setWisdomStore(&wisdom);
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--quick")) {
            options.quick = true;
        } else if (!std::strcmp(argv[i], "--chunked")) {
            options.chunked = true;
        } else if (!std::strcmp(argv[i], "--crossover")) {
            crossover();
            return 0;
        } else if (!std::strcmp(argv[i], "--threads-table")) {
            threadsTable();
            return 0;
        } else if (!std::strcmp(argv[i], "--roundoff")) {
            roundoff();
            return 0;
        } else if (!std::strcmp(argv[i], "--transforms")) {
            std::vector<size_t> lengths;
            for (int j = i + 1; j < argc; ++j)
                lengths.push_back(std::strtoul(argv[j], nullptr, 10));
            if (lengths.empty())
                lengths = {4096, 4608, 5120, 5376, 8192, 45056, 90112, 92160, 86016, 98304, 864000, 884736, 917504};
            transforms(lengths);
            return 0;
        } else if (!std::strcmp(argv[i], "--threads") && i + 1 < argc) {
            options.onlyThreads = static_cast<unsigned>(std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--threads N] [--chunked] [--crossover] [--roundoff] [--threads-table] [--transforms H...]\n",
                         argv[0]);
            return 2;
        }
    }
    std::printf("passes: %s\n", arithmetic::fft::passes().name);
    bool ok = true;
    if (options.quick) {
        ok = general(100000, 600, 1000, 2000, 1, options) && ok;
        ok = general(1000000, 200, 1000, 2000, 1, options) && ok;
        ok = lucasLehmer(3300000, 300, options) && ok;
    } else {
        ok = general(10000, 20000, 1000, 2000, 5, options) && ok;
        ok = general(100000, 3000, 1000, 2000, 3, options) && ok;
        ok = general(1000000, 600, 1000, 2000, 1, options) && ok;
        ok = general(10000000, 40, 100, 200, 1, options) && ok;
        ok = lucasLehmer(332000, 2000, options) && ok;
        ok = lucasLehmer(3300000, 600, options) && ok;
    }
    return ok ? 0 : 1;
}
