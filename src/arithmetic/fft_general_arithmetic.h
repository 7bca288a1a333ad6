#pragma once
// Arithmetic modulo a general odd N on double-precision FFT products
// (FFTW, real-to-complex), with Barrett reduction made of FFT products.
//
// Why Barrett and not Montgomery: both cost one full-length product for
// the quotient and one product for q*N, and both let q*N be made modulo
// 2^K - 1 on a transform of half the length (the part of x - q*N that
// matters is known to be below 3N < 2^K - 1, so the wrapped-around product
// gives it exactly). Barrett keeps residues as plain numbers below N, so
// set/get/addSmall/multiplySmall need no conversion into and out of
// Montgomery form and a checkpoint is the residue itself.
//
// One squaring step: transform of x (length L), pointwise square, inverse,
// carries -> x^2 (2D digits); its top part q1 (about D digits) transformed,
// times the stored transform of mu = floor(2^(b(s+t)) / N), inverse,
// carries -> q; q transformed on the cyclic length M (about L/2), times the
// stored transform of N, inverse -> q*N mod (2^(bM) - 1); x^2 folded modulo
// the same, subtracted, at most two subtractions of N. Four transforms of
// length L and two of M: about 2.5 times a plain FFT square.
#include <cstdint>
#include <vector>

#include <gmp.h>

#include "arithmetic/fft_arithmetic_base.h"
#include "arithmetic/fft_plans.h"

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

    size_t transformLength() const override { return length_; }
    int digitBits() const override { return bits_; }
    size_t cyclicLength() const { return cyclicLength_; }

    // The full transform length an N of `bits` bits gets at `level`
    // (tests use it to find the sizes where the length changes).
    static size_t transformLengthFor(size_t bits, int level = 0);

private:
    void configure();
    void switchToLongerTransform();
    void product(Register x, Register y);  // y < 0: square
    // x = a * b mod N into result (D digits); false when a product's
    // round-off was above the limit (result then not written).
    bool tryProduct(const uint32_t* a, const uint32_t* b, uint32_t* result);
    void toDigits(mpz_srcptr value, uint32_t* digits) const;
    void fromDigits(const uint32_t* digits, size_t count, mpz_ptr value) const;
    bool atLeastN(const uint32_t* r, size_t count) const;
    void subtractN(uint32_t* r) const;
    void addN(uint32_t* r) const;

    mpz_t n_;
    size_t nBits_ = 0;
    unsigned threads_ = 1;
    int level_ = 0;

    // Layout at the current level.
    int bits_ = 0;             // b: digit size
    size_t digits_ = 0;        // D: digits of a residue
    size_t length_ = 0;        // L: the full (zero-padded) transform
    size_t cyclicLength_ = 0;  // M: the wrapped transform for q*N
    size_t shiftLow_ = 0;      // s: q1 = x >> (b*s)
    size_t shiftHigh_ = 0;     // t: q = (q1*mu) >> (b*t)
    size_t muDigits_ = 0;
    std::vector<uint32_t> nDigits_;  // D digits
    const fft::TransformPair* full_ = nullptr;
    const fft::TransformPair* cyclic_ = nullptr;
    fft::ComplexArray muSpectrum_;  // transform of mu, scaled by 1/L
    fft::ComplexArray nSpectrum_;   // transform of N on M, scaled by 1/M

    // Scratch.
    fft::RealArray realFull_, realCyclic_;
    fft::ComplexArray spectrumA_, spectrumB_, spectrumCyclic_;
    std::vector<uint32_t> xDigits_, q2Digits_, rDigits_, result_;
    std::vector<int64_t> coefficients_;

    std::vector<std::vector<uint32_t>> registers_;
};

}  // namespace arithmetic
