#pragma once
// Transform lengths and how many bits each digit may carry at a length.
#include <cstddef>

namespace arithmetic::fft {

// The smallest length >= minimum of the form m * 2^k, m in {1, 3, 5, 7, 9,
// 11, 13, 15}, and even (real-to-complex transforms): FFTW's fast sizes
// (it has straight-line codelets for these factors), about 8 % apart.
size_t smoothLengthAtLeast(size_t minimum);

// The conservative table: bits per (balanced) digit such that a product
// whose coefficients are sums of `terms` digit products (the transform
// length for a cyclic product, half of it for a zero-padded one) keeps its
// round-off well below 0.5. `level` > 0 takes that many bits off (the longer
// lengths a run switches to after an unsafe round-off); < 0 adds bits
// (tests only).
int bitsPerDigit(size_t terms, int level = 0);

// The largest round-off (distance of a product coefficient from the nearest
// integer) a step may show and still be used.
constexpr double kRoundoffLimit = 0.4;

}  // namespace arithmetic::fft
