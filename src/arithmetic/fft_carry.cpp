#include "arithmetic/fft_carry.h"

#include <cmath>

#include "arithmetic/fft_kernels.h"

namespace arithmetic::fft {

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

}  // namespace arithmetic::fft

namespace arithmetic::fft {

double finishCarries(const double* __restrict digit, const double* __restrict carryIn, const double* __restrict base,
                     const double* __restrict inverseBase, const double* __restrict weight, double* __restrict out, size_t n)
{
    auto carryAt = [&](size_t i, size_t below) { return roundToInteger((digit[i] + carryIn[below]) * inverseBase[i]); };
    double biggest = 0.0;
    for (size_t i = 0; i < 2; ++i) {
        size_t below = i == 0 ? n - 1 : 0;
        size_t belowBelow = i == 0 ? n - 2 : n - 1;
        double t = digit[i] + carryIn[below];
        double c = roundToInteger(t * inverseBase[i]);
        double size = std::fabs(c);
        biggest = size > biggest ? size : biggest;
        out[i] = (t - c * base[i] + carryAt(below, belowBelow)) * weight[i];
    }
    for (size_t i = 2; i < n; ++i) {
        double t = digit[i] + carryIn[i - 1];
        double c = roundToInteger(t * inverseBase[i]);
        double size = std::fabs(c);
        biggest = size > biggest ? size : biggest;
        double cBelow = roundToInteger((digit[i - 1] + carryIn[i - 2]) * inverseBase[i - 1]);
        out[i] = (t - c * base[i] + cBelow) * weight[i];
    }
    return biggest;
}

double roundCoefficients(double* __restrict values, size_t n)
{
    double worst = 0.0;
    for (size_t i = 0; i < n; ++i) {
        double rounded = roundToInteger(values[i]);
        double error = std::fabs(values[i] - rounded);
        worst = error > worst ? error : worst;
        values[i] = rounded;
    }
    return worst;
}

}  // namespace arithmetic::fft
