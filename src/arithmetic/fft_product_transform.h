#pragma once
// The complex transform of length H of a product: whole, on one thread, or
// split into two halves of length H/2 that two threads transform at the same
// time, each with a one-thread FFTW plan and no hand-over between them
// (fft_passes.h, splitStage). FFTW's own threads hand work over several
// times inside every transform: at a million digits they made a pair of
// transforms 1.5 times faster, the split 1.9 times.
//
// run() makes the forward transform, the pointwise product on each section
// of the spectrum (the whole, or the even and the odd half) and the inverse
// transform, unnormalised (times H).
#include <cstddef>
#include <functional>

#include "arithmetic/fft_passes.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/fft_weights.h"

namespace arithmetic::fft {

// A section of the spectrum: `length` values at z + 2 * start holding Z(k)
// for k = stride m + offset; `cyclicTwiddle` holds exp(-2 pi i k / H) by m.
struct SpectrumSection {
    size_t start = 0;
    size_t length = 0;
    size_t offset = 0;
    TwoLevelTable cyclicTwiddle;
};

class ProductTransform {
public:
    ProductTransform() = default;
    ProductTransform(size_t length, bool split);

    size_t length() const { return length_; }
    bool split() const { return split_; }
    size_t sectionCount() const { return split_ ? 2 : 1; }
    SpectrumSection section(size_t index) const;

    using Pointwise = std::function<void(const SpectrumSection& section, double* values)>;
    void run(double* z, const Pointwise& pointwise) const;
    // The forward transform alone (constants' spectra).
    void forward(double* z) const;

private:
    size_t length_ = 0;
    bool split_ = false;
    const ComplexTransforms* transforms_ = nullptr;  // of H, or of H/2 when split
    UnitRootTable splitTwiddles_;                    // w^j = exp(-2 pi i j / H), j < H/2
    UnitRootTable cyclicTwiddles_[2];
};

}  // namespace arithmetic::fft
