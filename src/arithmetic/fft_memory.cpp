#include "arithmetic/fft_memory.h"

#include <cstdio>

#include <fftw3.h>

#include "arithmetic/fft_general_arithmetic.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/mersenne_arithmetic.h"

namespace arithmetic::fft {

AllocationFailure::AllocationFailure(size_t bytes)
{
    std::snprintf(message_, sizeof message_, "cannot allocate %zu MiB for the transform arrays",
                  (bytes + (1u << 20) - 1) >> 20);
}

void* allocateAligned(size_t bytes)
{
    void* data = fftw_malloc(bytes ? bytes : 1);
    if (!data)
        throw AllocationFailure(bytes);
    return data;
}

// Per point of a complex length: the twiddle factors and codelet tables
// of the forward and the backward plan (about a complex number each), the
// array the planner measures on and FFTW's buffers (up to a length of
// complex numbers), and as much again as a margin for what the planner's
// choice adds.
size_t planBytes(size_t length) { return 4 * 16 * length + (1u << 20); }

namespace {

// The pool's workers: all but the calling thread.
size_t threadStacks(unsigned threads) { return (threads > 0 ? threads - 1 : 0) * kThreadStackBytes; }

// The plans of a product of length M (complex transforms of H = M/2, and of
// H/2 for the halves when two threads split it).
size_t productPlanBytes(size_t length, unsigned threads)
{
    return planBytes(length / 2) + (threads > 1 ? planBytes(length / 4) : 0);
}

}  // namespace

size_t generalArithmeticBytes(size_t nBits, int registers, unsigned threads)
{
    // fft_general_arithmetic.h: on the product length M, six scratch arrays,
    // the spectra of N' and N, and one array per register, M doubles each;
    // the weight tables are a few thousand values.
    const size_t length = FftGeneralArithmetic::transformLengthFor(nBits);
    const size_t arrays = 6 + 2 + static_cast<size_t>(registers);
    return arrays * 8 * length + productPlanBytes(length, threads) + threadStacks(threads);
}

size_t mersenneArithmeticBytes(unsigned long q, int registers, unsigned threads)
{
    // mersenne_arithmetic.h: three scratch arrays and one per register, L
    // doubles each; the weight tables are a few thousand values.
    const size_t length = MersenneArithmetic::transformLengthFor(q);
    const size_t arrays = 3 + static_cast<size_t>(registers);
    return arrays * 8 * length + productPlanBytes(length, threads) + threadStacks(threads);
}

}  // namespace arithmetic::fft
