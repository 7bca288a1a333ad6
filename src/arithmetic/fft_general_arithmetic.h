#pragma once
// Arithmetic modulo a general odd N on double-precision FFT products, by
// Montgomery reduction with R = 2^K + 1 (K = bM, M digits of b bits), where
// every product is one that wraps: no zero padding anywhere.
//
// A product x*y = T of two registers is made twice on length M, modulo
// R = 2^K + 1 (negacyclic) and modulo P = 2^K - 1 (cyclic): together that
// is T itself, at the cost of one zero-padded product of length 2M. Then
// q = T * N' mod R (N' = -1/N mod R, negacyclic: its transform is computed
// once) makes T + q*N divisible by R; Y = (T + q*N)/R, and since R = 2 mod P,
// 2Y = T + q*N mod P, one cyclic product with N's stored transform. 2Y is
// the register's new value: registers hold x*s mod N with s = R/2 mod N
// (Montgomery form with R/2 in place of R), so 2Y = (x y) s and no halving
// is needed. K exceeds N's bits by kHeadroomBits, so 2Y stays below 1.25 N
// in size when its inputs do (or one of them is up to 2^32 times that, a
// multiplySmall's result): registers are never reduced further, and no
// comparison with N is ever made in a step.
//
// Four products of length M, all of them wrapped, against one zero-padded
// product of length 2M, the square of a Barrett step and its quotient, and
// a wrapped one for q*N. A step is three rounds: the square's two halves
// (independent: two threads take one each), then q, then 2Y; every
// transform is a complex one of length M/2 (see fft_passes.h).
//
// Registers hold M balanced digits (doubles) of the integer x*s, which may
// be negative; the cyclic and negacyclic products read them as they are.
#include <cstdint>
#include <vector>

#include <gmp.h>

#include "arithmetic/fft_arithmetic_base.h"
#include "arithmetic/fft_passes.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/fft_product_transform.h"
#include "arithmetic/fft_weights.h"

namespace arithmetic {

class FftGeneralArithmetic : public FftArithmeticBase {
public:
    // N odd, above 2^64. `level` as in fft::bitsPerDigit: 0 is the table,
    // negative (tests) starts on a too short transform.
    FftGeneralArithmetic(mpz_srcptr n, int registers, unsigned threads, int level = 0);
    ~FftGeneralArithmetic() override;

    int registerCount() const override { return static_cast<int>(registers_.size()); }
    void set(Register target, mpz_srcptr value) override;
    void get(Register source, mpz_ptr value) const override;
    void copy(Register target, Register source) override;
    void square(Register x) override;
    void multiply(Register x, Register y) override;
    void multiplySmall(Register x, uint32_t c) override;
    void addSmall(Register x, int64_t c) override;
    void corruptForTest(Register x) override;

    // The product length M and the digit size.
    size_t transformLength() const override { return length_; }
    int digitBits() const override { return bits_; }
    unsigned threads() const { return threads_; }

    // The product length and digit size an N of `bits` bits gets at
    // `level` (tests use them to find the sizes where the layout changes).
    static size_t transformLengthFor(size_t bits, int level = 0);
    static int digitBitsFor(size_t bits, int level = 0);

    // K - bits of N: room for the products of registers up to 2^32 times
    // beyond N, with the factor 1.25 of the bound and its margin.
    static constexpr size_t kHeadroomBits = 72;

private:
    void configure();
    void switchToLongerTransform();
    void product(Register x, Register y);  // y < 0: square
    // result_ = x * y (y null: x^2) in the register form; false when a
    // product's round-off was above the limit.
    bool tryProduct(const double* x, const double* y);
    // The round-off of the pass over `blocks` blocks, split across threads.
    template <typename Pass>
    double parallelPass(size_t blocks, Pass pass);
    void toDigits(mpz_srcptr value, double* digits) const;
    void fromDigits(const double* digits, mpz_ptr value) const;
    void reduceRegister(Register x);

    mpz_t n_, s_, sInverse_;  // s = R/2 mod N, its inverse
    size_t nBits_ = 0;
    unsigned threads_ = 1;
    int level_ = 0;

    // Layout at the current level.
    int bits_ = 0;
    size_t length_ = 0;  // M
    size_t half_ = 0;    // H = M/2, the transforms' length
    fft::DigitShape shape_;
    // The square's two halves, each whole on one thread; q and 2Y, on two
    // threads split into halves.
    fft::ProductTransform whole_, shared_;
    fft::UnitRootTable negacyclicWeights_;
    fft::RealArray nPrimeSpectrum_;  // negacyclic transform of N' = -1/N mod R (shared_'s layout), scaled by 1/H
    fft::RealArray nSpectrum_;       // cyclic transform of N (shared_'s layout), scaled by 1/H

    // Scratch, M doubles each.
    fft::RealArray cyclic_, cyclicOther_, negacyclic_, negacyclicOther_, squareModP_, result_;

    std::vector<fft::RealArray> registers_;
    // True when a register may hold up to 2^32 times the usual bound (after
    // multiplySmall): the next multiplySmall reduces it first.
    std::vector<bool> scaled_;
};

}  // namespace arithmetic
