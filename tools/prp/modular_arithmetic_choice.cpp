#include <thread>

#include "fft_general_arithmetic.h"
#include "gmp_arithmetic.h"
#include "mersenne_arithmetic.h"
#include "modular_arithmetic.h"

namespace prp {

namespace {

// The crossovers, measured by bench/bench_prp_squaring (--crossover) on the
// 2-core development machine (FFTW 3.3.10, GMP 6.2, one thread; a second
// thread moves them up, never down, so one thread's values are the safe
// ones): below them GMP is faster or not clearly slower.
//  - general N: the FFT Barrett step against mpz_powm per modular squaring;
//  - 2^q - 1: the IBDWT squaring against GMP's square and fold.
constexpr size_t kGeneralFftMinBits = 40000;
constexpr unsigned long kMersenneFftMinExponent = 20000;

bool mersenneExponent(mpz_srcptr n, unsigned long& q)
{
    if (mpz_cmp_ui(n, 3) < 0)
        return false;
    size_t bits = mpz_sizeinbase(n, 2);
    if (mpz_scan0(n, 0) != bits)
        return false;
    q = static_cast<unsigned long>(bits);
    return true;
}

}  // namespace

std::unique_ptr<ModularArithmetic> makeModularArithmetic(mpz_srcptr n, int registers, unsigned threads)
{
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    unsigned long q = 0;
    if (mersenneExponent(n, q)) {
        if (q >= kMersenneFftMinExponent)
            return std::make_unique<MersenneArithmetic>(q, registers, threads);
    } else if (mpz_odd_p(n) && mpz_sizeinbase(n, 2) >= kGeneralFftMinBits) {
        return std::make_unique<FftGeneralArithmetic>(n, registers, threads);
    }
    return makeGmpArithmetic(n, registers);
}

}  // namespace prp
