#include "fft_carry.h"

#include <cmath>

#include "fft_kernels.h"

namespace prp::fft {

double splitWeightedProduct(const double* __restrict product, const double* __restrict unweight, const double* __restrict base,
                            const double* __restrict inverseBase, double* __restrict digit, double* __restrict carry, size_t n)
{
    // The carry of coefficient i-1 is recomputed from its own value in step
    // i, so that no value passes from one step to the next.
    auto carryOf = [&](size_t i) { return roundToInteger(roundToInteger(product[i] * unweight[i]) * inverseBase[i]); };
    double worst = 0.0;
    {
        double v = product[0] * unweight[0];
        double rounded = roundToInteger(v);
        worst = std::fabs(v - rounded);
        double c = roundToInteger(rounded * inverseBase[0]);
        double t = rounded - c * base[0] + carryOf(n - 1);
        double c2 = roundToInteger(t * inverseBase[0]);
        digit[0] = t - c2 * base[0];
        carry[0] = c2;
    }
    for (size_t i = 1; i < n; ++i) {
        double v = product[i] * unweight[i];
        double rounded = roundToInteger(v);
        double error = std::fabs(v - rounded);
        worst = error > worst ? error : worst;
        double c = roundToInteger(rounded * inverseBase[i]);
        double below = roundToInteger(roundToInteger(product[i - 1] * unweight[i - 1]) * inverseBase[i - 1]);
        double t = rounded - c * base[i] + below;
        double c2 = roundToInteger(t * inverseBase[i]);
        digit[i] = t - c2 * base[i];
        carry[i] = c2;
    }
    return worst;
}

double addAndSplitCarries(double* __restrict digit, const double* __restrict carryIn, double* __restrict carryOut,
                          const double* __restrict base, const double* __restrict inverseBase, size_t n)
{
    double biggest;
    {
        double t = digit[0] + carryIn[n - 1];
        double c = roundToInteger(t * inverseBase[0]);
        digit[0] = t - c * base[0];
        carryOut[0] = c;
        biggest = std::fabs(c);
    }
    for (size_t i = 1; i < n; ++i) {
        double t = digit[i] + carryIn[i - 1];
        double c = roundToInteger(t * inverseBase[i]);
        digit[i] = t - c * base[i];
        carryOut[i] = c;
        double size = std::fabs(c);
        biggest = size > biggest ? size : biggest;
    }
    return biggest;
}

}  // namespace prp::fft
