#pragma once
// The carry passes of the IBDWT, kept apart because they are compiled with
// -ffinite-math-only -fno-signed-zeros (see CMakeLists.txt): without them
// GCC will not vectorise a loop that takes the maximum of doubles, and
// these loops are most of the time a step spends outside FFTW. The values
// are always finite (products of bounded digits), so the flags change
// nothing but the speed. Nothing here reassociates arithmetic: the
// rounding trick of fft::roundToInteger stays exact.
#include <cstddef>

namespace prp::fft {

// For i in 0 .. n-1: v = product[i] * unweight[i] rounded to the integer
// r_i; r_i = d_i + c_i * base[i] with d_i balanced; then d_i + c_(i-1)
// (c_(-1) = c_(n-1)) split again into digit[i] + carry[i] * base[i].
// Returns the worst distance of a v from its integer.
double splitWeightedProduct(const double* product, const double* unweight, const double* base, const double* inverseBase,
                            double* digit, double* carry, size_t n);

// digit[i] + carryIn[i-1] (cyclically) split into digit[i] + carryOut[i] *
// base[i]; returns the largest |carryOut|.
double addAndSplitCarries(double* digit, const double* carryIn, double* carryOut, const double* base,
                          const double* inverseBase, size_t n);

}  // namespace prp::fft
