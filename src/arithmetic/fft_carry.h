#pragma once
// The carry passes of the IBDWT, kept apart because they are compiled with
// -ffinite-math-only -fno-signed-zeros (see CMakeLists.txt): without them
// GCC will not vectorise a loop that takes the maximum of doubles, and
// these loops are most of the time a step spends outside FFTW. The values
// are always finite (products of bounded digits), so the flags change
// nothing but the speed. Nothing here reassociates arithmetic: the
// rounding trick of fft::roundToInteger stays exact.
#include <cstddef>

namespace arithmetic::fft {

// For i in 0 .. n-1: v = product[i] * unweight[i] rounded to the integer
// r_i; r_i = d_i + c_i * base[i] with d_i balanced; then d_i + c_(i-1)
// (c_(-1) = c_(n-1)) split again into digit[i] + carry[i] * base[i].
// Returns the worst distance of a v from its integer.
double splitWeightedProduct(const double* product, const double* unweight, const double* base, const double* inverseBase,
                            double* digit, double* carry, size_t n);

// digit[i] + carryIn[i-1] (cyclically) split into digit[i] + carryOut[i] *
// base[i]; returns the largest |carryOut|.
// (Only needed when finishCarries finds a carry beyond -1 .. 1.)
double addAndSplitCarries(double* digit, const double* carryIn, double* carryOut, const double* base,
                          const double* inverseBase, size_t n);

// The last two steps in one pass: digit[i] + carryIn[i-1] split again into
// d_i + c_i * base[i], and out[i] = (d_i + c_(i-1)) * weight[i] (the carry
// c_(i-1) recomputed from its own digit and carry, so that nothing passes
// between steps). Returns the largest |c_i|: above 1 the digits may be
// beyond the balanced range by more than one and the caller first runs
// addAndSplitCarries (the arrays are left as they were).
double finishCarries(const double* digit, const double* carryIn, const double* base, const double* inverseBase,
                     const double* weight, double* out, size_t n);

// values[i] = the nearest integer of values[i]; returns the worst distance.
double roundCoefficients(double* values, size_t n);

}  // namespace arithmetic::fft
