#include "arithmetic/fft_lengths.h"

#include <algorithm>
#include <cmath>

namespace arithmetic::fft {

namespace {

// Odd parts m of the complex lengths H = m * 2^k: products of 3, 5 and 7,
// for which FFTW has vectorised codelets, those whose transforms measured
// within a few percent of the fastest per point and log2(H) at lengths near
// 5,000 and 90,000 (`bench_prp_squaring --transforms`: 0.43-0.51 and
// 0.55-0.62 ns here). Left out as slower: 81, 135, 147, 243, 343, 405, 441,
// 567, 625, 675, 729, 735, 945 (0.54-0.73 ns).
constexpr size_t kFastOddParts[] = {1, 3, 5, 7, 9, 15, 21, 25, 27, 35, 45, 49, 63, 75, 105, 175};

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

namespace {

// With balanced digits of b bits a product coefficient is a sum of M
// products of random sign, each about 2^(2b-2) in size: it grows like
// 2^(2b) * sqrt(M), and the round-off of a double-precision transform with
// it. So the budget 2b + log2(M)/2 sets the round-off, which doubles with
// each unit of it. Measured here (`bench_prp_squaring --roundoff`, worst
// of 300 steps, lengths 960 to 1,966,080): the general arithmetic 0.009 ..
// 0.043 at budget 45 .. 47, 0.086 .. 0.094 at 47.6 .. 48.2, 0.12 .. 0.17 at
// 48.4 .. 48.95; the IBDWT, budget on its average digit, 0.011 .. 0.024 at
// 43.9 .. 45.2, 0.055 at 46.65, 0.109 at 47.06, 0.157 .. 0.193 at 47.7 ..
// 47.9. The budgets keep the worst of 300 steps near 0.1, which a whole run
// (millions of steps, the worst growing with the logarithm of their
// number) takes to about 0.15: well below 0.4, where a step is redone on a
// longer transform.
constexpr double kGeneralBudget = 48.2;
constexpr double kIbdwtBudget = 47.1;

double halfLog(size_t length) { return 0.5 * std::log2(static_cast<double>(std::max<size_t>(length, 2))); }

}  // namespace

int bitsPerDigit(size_t length, int level)
{
    int bits = static_cast<int>(std::floor((kGeneralBudget - halfLog(length)) / 2.0)) - level;
    return std::clamp(bits, 4, 24);
}

double ibdwtBitsPerDigit(size_t length, int level)
{
    return std::clamp((kIbdwtBudget - halfLog(length)) / 2.0 - level, 2.0, 23.0);
}

}  // namespace arithmetic::fft
