#pragma once
// The loops around the transforms, shared by the FFT arithmetics.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include <fftw3.h>

namespace arithmetic::fft {

// Nearest integer of |v| < 2^51 by the 1.5 * 2^52 trick (round to even, as
// the FPU rounds), much faster than std::nearbyint.
inline double roundToInteger(double v)
{
    constexpr double kMagic = 6755399441055744.0;
    return (v + kMagic) - kMagic;
}

// a = a^2 * scale, on the length/2 + 1 values of a real transform.
inline void squareSpectrum(fftw_complex* a, size_t count, double scale)
{
    for (size_t k = 0; k < count; ++k) {
        double re = a[k][0], im = a[k][1];
        a[k][0] = (re * re - im * im) * scale;
        a[k][1] = 2.0 * re * im * scale;
    }
}

// a = a * b * scale.
inline void multiplySpectrum(fftw_complex* a, const fftw_complex* b, size_t count, double scale)
{
    for (size_t k = 0; k < count; ++k) {
        double re = a[k][0] * b[k][0] - a[k][1] * b[k][1];
        double im = a[k][0] * b[k][1] + a[k][1] * b[k][0];
        a[k][0] = re * scale;
        a[k][1] = im * scale;
    }
}

}  // namespace arithmetic::fft
