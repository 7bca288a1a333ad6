#pragma once
// The crossovers behind makeModularArithmetic (modular_arithmetic.h), for
// tests and benchmarks: the smallest sizes that get an FFT arithmetic.
#include <cstddef>

namespace arithmetic {

// A general odd N of at least this many bits gets FftGeneralArithmetic.
size_t generalFftMinimumBits();
// 2^q - 1 with q at least this gets MersenneArithmetic (the IBDWT).
unsigned long mersenneFftMinimumExponent();

}  // namespace arithmetic
