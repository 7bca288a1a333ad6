#include <algorithm>
#include <thread>

#include "arithmetic/fft_general_arithmetic.h"
#include "arithmetic/fft_memory.h"
#include "arithmetic/gmp_arithmetic.h"
#include "arithmetic/mersenne_arithmetic.h"
#include "arithmetic/mersenne_numbers.h"
#include "arithmetic/modular_arithmetic.h"
#include "arithmetic/modular_arithmetic_choice.h"

namespace arithmetic {

namespace {

// The crossovers, the one place they are set. Measured with
// `bench_prp_squaring --crossover` (processor time per step, 1 thread, best
// of 3) on the 2-core development machine, FFTW 3.3.10 and GMP 6.2.1:
//  - general N, FFT Barrett step (square + multiplySmall) against mpz_powm:
//    0.61x at 1,000 digits, 1.06x at 1,500, 1.10x at 2,000, 1.29x at 3,000,
//    2.05x at 6,000. Set at 10,000 bits (3,010 digits), where the FFT is
//    clearly ahead, so that measurement noise near the crossing cannot make
//    a size slower than GMP.
//  - 2^q - 1, IBDWT Lucas-Lehmer step against GMP's square and fold at bit
//    q: 0.89x at q = 2,500, 0.98x at 3,000, 1.27x at 4,000, 1.22x at 6,000,
//    1.69x at 10,000. Set at 5,000.
// Below these lengths plans are estimated, not measured (fft_plans.cpp), so
// no planning time shifts them; a second thread only helps at large sizes.
constexpr size_t kGeneralFftMinBits = 10000;
constexpr unsigned long kMersenneFftMinExponent = 5000;

// A second thread pays from these product lengths on (measured with
// `bench_prp_squaring --threads-table`, wall time per step, one thread
// against two: general N 0.89x at length 5,120, 1.30x at 10,240, 1.62x at
// 50,176, 1.69x at 184,320, 1.76x at 573,440; 2^q-1 0.70x at 5,120, 1.14x
// at 10,240, 1.36x at 51,200, 1.54x at 573,440). Below them the hand-overs
// between the threads cost more than the second one saves.
constexpr size_t kGeneralThreadsFromLength = 10240;
constexpr size_t kMersenneThreadsFromLength = 10240;
// A product's transforms split into two halves, one per thread
// (fft_product_transform.h): more threads would wait.
constexpr unsigned kMostThreads = 2;

// The threads a product of this length gets: one below the length where a
// second pays, else two when the caller allows them and there are the cores.
unsigned threadsFor(size_t length, size_t threadsFromLength, unsigned requested)
{
    unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (requested == 0)
        requested = cores;
    return length < threadsFromLength ? 1u : std::min({requested, cores, kMostThreads});
}

// Which arithmetic N gets: the one place the crossovers are applied.
enum class Choice { Gmp, Mersenne, General };

Choice choiceFor(mpz_srcptr n, unsigned long& q)
{
    if (isMersenneNumber(n, q))
        return q >= kMersenneFftMinExponent ? Choice::Mersenne : Choice::Gmp;
    if (mpz_odd_p(n) && mpz_sizeinbase(n, 2) >= kGeneralFftMinBits)
        return Choice::General;
    return Choice::Gmp;
}

}  // namespace

size_t generalFftMinimumBits() { return kGeneralFftMinBits; }

unsigned long mersenneFftMinimumExponent() { return kMersenneFftMinExponent; }

std::unique_ptr<ModularArithmetic> makeModularArithmetic(mpz_srcptr n, int registers, unsigned threads)
{
    unsigned long q = 0;
    switch (choiceFor(n, q)) {
    case Choice::Mersenne: {
        size_t length = MersenneArithmetic::transformLengthFor(q);
        return std::make_unique<MersenneArithmetic>(q, registers, threadsFor(length, kMersenneThreadsFromLength, threads));
    }
    case Choice::General: {
        size_t length = FftGeneralArithmetic::transformLengthFor(mpz_sizeinbase(n, 2));
        return std::make_unique<FftGeneralArithmetic>(n, registers, threadsFor(length, kGeneralThreadsFromLength, threads));
    }
    case Choice::Gmp:
        break;
    }
    return makeGmpArithmetic(n, registers);
}

size_t modularArithmeticBytes(mpz_srcptr n, int registers, unsigned threads)
{
    unsigned long q = 0;
    switch (choiceFor(n, q)) {
    case Choice::Mersenne: {
        size_t length = MersenneArithmetic::transformLengthFor(q);
        return fft::mersenneArithmeticBytes(q, registers, threadsFor(length, kMersenneThreadsFromLength, threads));
    }
    case Choice::General: {
        size_t bits = mpz_sizeinbase(n, 2);
        size_t length = FftGeneralArithmetic::transformLengthFor(bits);
        return fft::generalArithmeticBytes(bits, registers, threadsFor(length, kGeneralThreadsFromLength, threads));
    }
    case Choice::Gmp:
        break;
    }
    // Registers, and a product and its quotient while reducing.
    return (static_cast<size_t>(registers) + 6) * (mpz_size(n) + 1) * sizeof(mp_limb_t);
}

unsigned fftThreadsFor(mpz_srcptr n, unsigned requested)
{
    unsigned long q = 0;
    if (isMersenneNumber(n, q))
        return threadsFor(MersenneArithmetic::transformLengthFor(q), kMersenneThreadsFromLength, requested);
    return threadsFor(FftGeneralArithmetic::transformLengthFor(mpz_sizeinbase(n, 2)), kGeneralThreadsFromLength, requested);
}

}  // namespace arithmetic
