#pragma once
// What the two FFT arithmetics (general N, 2^q-1) share: the round-off
// check of every product and the switch to a longer transform after an
// unsafe one, and the hooks the tests see them through. No method is added
// to ModularArithmetic: the GMP side has nothing to implement.
#include <cstddef>

#include "arithmetic/fft_lengths.h"
#include "arithmetic/modular_arithmetic.h"

namespace arithmetic {

class FftArithmeticBase : public ModularArithmetic {
public:
    // The transform length products are made on now (the longest one, for
    // the general arithmetic), and the digit size.
    virtual size_t transformLength() const = 0;
    virtual int digitBits() const = 0;

    // How many times a step was redone on a longer transform.
    int escalations() const { return escalations_; }
    // The worst round-off of any product used so far (a redone step's unsafe
    // one does not count: its result was not used).
    double worstRoundoff() const { return worstRoundoff_; }

    // Test hook: a lower limit makes steps look unsafe (each one then
    // switches to a longer transform until its round-off is below it).
    void setRoundoffLimitForTest(double limit) { roundoffLimit_ = limit; }

protected:
    // One step tries this many longer transforms at most, then throws
    // std::runtime_error (each one has about 4 times less round-off: more
    // would mean a fault, not a short transform).
    static constexpr int kMaxEscalationsPerStep = 6;

    double roundoffLimit_ = fft::kRoundoffLimit;
    int escalations_ = 0;
    double worstRoundoff_ = 0.0;
};

}  // namespace arithmetic
