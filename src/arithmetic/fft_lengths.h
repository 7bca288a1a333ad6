#pragma once
// Transform lengths and how many bits each digit may carry at a length.
#include <cstddef>

namespace arithmetic::fft {

// The smallest product length M >= positions whose complex transform
// length H = M/2 is one of the fast ones here: m * 2^k with m from the
// measured list in fft_lengths.cpp (k >= 3, so H is a multiple of 8), a
// few percent apart.
size_t transformLengthAtLeast(size_t positions);

// The digit size a product of length M may use: bits per (balanced) digit
// for the general arithmetic, and the average bits per digit (q / L) for
// the IBDWT, whose digits are of two sizes. `level` > 0 takes that many
// bits off (the longer lengths a run switches to after an unsafe
// round-off); < 0 adds bits (tests only).
int bitsPerDigit(size_t length, int level = 0);
double ibdwtBitsPerDigit(size_t length, int level = 0);

// The largest round-off (distance of a product coefficient from the nearest
// integer) a step may show and still be used.
constexpr double kRoundoffLimit = 0.4;

}  // namespace arithmetic::fft
