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

// Per point of the length: the twiddle factors and codelet tables of the
// forward and the inverse plan (about a complex number each), FFTW's
// buffers while planning and executing (up to a length of complex numbers),
// and as much again as a margin for what the planner's choice adds.
size_t planBytes(size_t length) { return 4 * 16 * length + (1u << 20); }

namespace {

// FFTW's worker threads: all but the calling one.
size_t threadStacks(size_t length, unsigned threads) { return (transformThreads(length, threads) - 1) * kThreadStackBytes; }

}  // namespace

size_t generalArithmeticBytes(size_t nBits, int registers, unsigned threads)
{
    // fft_general_arithmetic.h: on the full length L, one real array, three
    // spectra (two products, mu) and two digit arrays; on the cyclic length
    // M (at most 0.6 L), one real array, two spectra and two digit arrays;
    // D = L/2 digits (4 bytes) per register and for the result and mu.
    const size_t length = FftGeneralArithmetic::transformLengthFor(nBits);
    const size_t cyclic = length * 6 / 10;
    const size_t full = 8 * length + 3 * 8 * length + 2 * 4 * length;
    const size_t wrapped = 8 * cyclic + 2 * 8 * cyclic + 2 * 4 * cyclic;
    const size_t digits = (static_cast<size_t>(registers) + 2) * 2 * length;
    return full + wrapped + digits + planBytes(length) + planBytes(cyclic) + threadStacks(length, threads);
}

size_t mersenneArithmeticBytes(unsigned long q, int registers, unsigned threads)
{
    // mersenne_arithmetic.h: per point two real arrays, two spectra (8
    // bytes a point each), ten tables of weights, widths and carries, and
    // one real array per register.
    const size_t length = MersenneArithmetic::transformLengthFor(q);
    return (2 * 8 + 2 * 8 + 10 * 8 + static_cast<size_t>(registers) * 8) * length + planBytes(length) +
           threadStacks(length, threads);
}

}  // namespace arithmetic::fft
