#include "arithmetic/fft_lengths.h"

#include <algorithm>
#include <cmath>

namespace arithmetic::fft {

namespace {

// Odd parts m of the complex lengths H = m * 2^k: products of 3, 5 and 7,
// for which FFTW has vectorised codelets.
constexpr size_t kFastOddParts[] = {1, 3, 5, 7, 9, 15, 21, 25, 27, 35, 45, 49, 63};

}  // namespace

size_t transformLengthAtLeast(size_t positions)
{
    const size_t half = std::max<size_t>((positions + 1) / 2, 8);
    size_t best = 0;
    for (size_t m : kFastOddParts) {
        size_t length = m * 8;
        while (length < half)
            length *= 2;
        if (best == 0 || length < best)
            best = length;
    }
    return 2 * best;
}

int bitsPerDigit(size_t terms, int level)
{
    // With balanced digits of b bits, a product coefficient is a sum of
    // `terms` products of random sign, each of size about 2^(2b-2): its size
    // grows like 2^(2b) * sqrt(terms), and the round-off of a double-precision
    // transform with it. Budget: 2b + log2(terms)/2 <= 47. Measured here
    // (worst round-off over 10-30 squarings, random residues and the
    // Lucas-Lehmer sequence), lengths 1,024 to 393,216: at the table's
    // digits 0.003 .. 0.04 (the IBDWT's weights, up to 2, make its side of
    // that range); one bit more about 4 times that; three bits more
    // 0.34 .. 0.47. So the table keeps a factor 10 or more below where steps
    // are redone (0.4).
    double budget = 47.0 - 0.5 * std::log2(static_cast<double>(std::max<size_t>(terms, 2)));
    int bits = static_cast<int>(std::floor(budget / 2.0)) - level;
    return std::clamp(bits, 4, 24);
}

}  // namespace arithmetic::fft
