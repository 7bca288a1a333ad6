#pragma once
// Arithmetic modulo 2^q - 1 by an irrational-base discrete weighted
// transform (IBDWT, Crandall and Fagin): digit i holds bits
// ceil(q*i/L) .. ceil(q*(i+1)/L) - 1 (so digits have floor(q/L) or
// ceil(q/L) bits), is weighted by 2^(ceil(q*i/L) - q*i/L) before the
// transform and unweighted after it, and the cyclic convolution of length L
// is then the product modulo 2^q - 1 itself: no zero padding, no reduction.
// Digits are balanced (about -2^(b-1) .. 2^(b-1)), which keeps the
// round-off low; a register is any such representation of its residue,
// kept weighted (digit times weight, as doubles) so that the forward
// transform reads the register itself and the carry pass writes it. A step
// is one complex transform of length L/2 each way, the square in between
// and the carries after it in one pass each (fft_passes.h).
#include <cstdint>
#include <vector>

#include <gmp.h>

#include "arithmetic/fft_arithmetic_base.h"
#include "arithmetic/fft_passes.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/fft_product_transform.h"
#include "arithmetic/fft_weights.h"

namespace arithmetic {

class MersenneArithmetic : public FftArithmeticBase {
public:
    // 2^q - 1, q >= 64 (smaller ones belong to GMP). `level` as in
    // fft::bitsPerDigit.
    MersenneArithmetic(unsigned long q, int registers, unsigned threads, int level = 0);

    int registerCount() const override { return static_cast<int>(registers_.size()); }
    void set(Register target, mpz_srcptr value) override;
    void get(Register source, mpz_ptr value) const override;
    void copy(Register target, Register source) override;
    void square(Register x) override;
    void multiply(Register x, Register y) override;
    void multiplySmall(Register x, uint32_t c) override;
    void addSmall(Register x, int64_t c) override;
    void corruptForTest(Register x) override;

    size_t transformLength() const override { return length_; }
    int digitBits() const override { return static_cast<int>((q_ + length_ - 1) / length_); }
    unsigned threads() const { return threads_; }

    // The length 2^q - 1 gets at `level`.
    static size_t transformLengthFor(unsigned long q, int level = 0);

private:
    void configure();
    void switchToLongerTransform();
    void product(Register x, Register y);  // y < 0: square
    // The product's coefficients in product_ (or anything to carry, times
    // `multiplier`) rounded, carried and weighted into result_. False when
    // the round-off was above the limit.
    bool carryInto(const double* product, double multiplier);
    bool tryProduct(Register x, Register y);
    int64_t digitAt(const fft::RealArray& reg, size_t i) const;
    // Adds `carry` at digit `from` and carries on (wrapping past the top)
    // until none is left.
    void carryFrom(fft::RealArray& reg, size_t from, int64_t carry) const;

    unsigned long q_;
    unsigned threads_;
    int level_;
    size_t length_ = 0;  // L
    size_t half_ = 0;    // L/2, the transforms' length
    fft::IbdwtTables tables_;
    fft::ProductTransform transform_;  // split into halves on two threads
    fft::RealArray product_, other_, result_;
    std::vector<fft::RealArray> registers_;
};

}  // namespace arithmetic
