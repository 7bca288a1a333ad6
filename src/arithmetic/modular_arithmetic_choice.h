#pragma once
// The crossovers behind makeModularArithmetic (modular_arithmetic.h), for
// tests and benchmarks: the smallest sizes that get an FFT arithmetic.
#include <cstddef>

#include <gmp.h>

namespace arithmetic {

// A general odd N of at least this many bits gets FftGeneralArithmetic.
size_t generalFftMinimumBits();
// 2^q - 1 with q at least this gets MersenneArithmetic (the IBDWT).
unsigned long mersenneFftMinimumExponent();

// The threads makeModularArithmetic gives an FFT arithmetic for N when up to
// `requested` are allowed (0: one per core): one below the product length
// where a second pays, else two (never more than the cores).
unsigned fftThreadsFor(mpz_srcptr n, unsigned requested);

}  // namespace arithmetic
