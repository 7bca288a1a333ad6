#include "fft_lengths.h"

#include <algorithm>
#include <cmath>

namespace prp::fft {

size_t smoothLengthAtLeast(size_t minimum)
{
    minimum = std::max<size_t>(minimum, 8);
    size_t best = 0;
    for (size_t m : {1, 3, 5, 7, 9, 11, 13, 15}) {
        size_t length = m * 2;  // even
        while (length < minimum)
            length *= 2;
        if (best == 0 || length < best)
            best = length;
    }
    return best;
}

int bitsPerDigit(size_t length, int level)
{
    // With balanced digits of b bits, a product coefficient is a sum of about
    // `length` terms of random sign, of size about 2^(2b-2): its size grows
    // like 2^(2b) * sqrt(length), and the round-off of a double-precision
    // transform with it. The budget 2b + log2(length)/2 <= 47 was measured
    // on this machine (tests/prp/fft_arithmetic_test.cpp prints the worst
    // round-off seen): it keeps the worst round-off of random and structured
    // operands near 0.05 or below, a safe distance from the 0.4 limit, on
    // the lengths from 2^6 to 2^23.
    double budget = 47.0 - 0.5 * std::log2(static_cast<double>(std::max<size_t>(length, 2)));
    int bits = static_cast<int>(std::floor(budget / 2.0)) - level;
    return std::clamp(bits, 4, 24);
}

}  // namespace prp::fft
