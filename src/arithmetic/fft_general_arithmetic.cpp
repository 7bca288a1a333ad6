#include "arithmetic/fft_general_arithmetic.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <stdexcept>

#include "arithmetic/fft_digits.h"
#include "arithmetic/fft_lengths.h"
#include "arithmetic/fft_threads.h"

namespace arithmetic {

namespace {

constexpr int kWidestDigit = 24;

// True when a digit (below 3/4 of 2^bits in size) times c stays below
// 2^51, where the carry pass is exact.
bool smallEnoughFactor(int bits, uint32_t c) { return bits + static_cast<int>(std::bit_width(c)) <= 51; }

struct GeneralLayout {
    int bits = 0;
    size_t length = 0;
};

// The widest digits the table allows at their length, and of all lengths
// that fit them the shortest.
GeneralLayout generalLayout(size_t nBits, int level)
{
    for (int bits = kWidestDigit;; --bits) {
        size_t positions = (nBits + FftGeneralArithmetic::kHeadroomBits + bits - 1) / bits;
        size_t length = fft::transformLengthAtLeast(positions);
        if (fft::bitsPerDigit(length, level) >= bits || bits == 4)
            return {bits, length};
    }
}

// Balanced digits of 0 <= value < 2^(bM) (b bits, M of them): each in
// -2^(b-1) .. 2^(b-1); a borrow out of the top comes in at the bottom
// negated (2^(bM) = -1), where only values modulo 2^(bM) + 1 matter, and
// does not happen for values far below 2^(bM).
void balancedDigits(mpz_srcptr value, int bits, size_t count, double* digits)
{
    const mp_limb_t* limbs = mpz_limbs_read(value);
    const size_t limbCount = mpz_size(value);
    const int64_t base = int64_t(1) << bits;
    int64_t carry = 0;
    for (size_t i = 0; i < count; ++i) {
        int64_t d = static_cast<int64_t>(fft::readBits(limbs, limbCount, uint64_t(i) * bits, bits)) + carry;
        carry = d >= base / 2 ? 1 : 0;
        digits[i] = static_cast<double>(d - carry * base);
    }
    digits[0] -= static_cast<double>(carry);
}

}  // namespace

FftGeneralArithmetic::FftGeneralArithmetic(mpz_srcptr n, int registers, unsigned threads, int level)
    : threads_(std::max(1u, threads)), level_(level)
{
    if (mpz_sizeinbase(n, 2) <= 64 || mpz_even_p(n))
        throw std::invalid_argument("FftGeneralArithmetic: N must be odd and above 2^64");
    mpz_init_set(n_, n);
    mpz_inits(s_, sInverse_, nullptr);
    nBits_ = mpz_sizeinbase(n, 2);
    registers_.resize(static_cast<size_t>(std::max(1, registers)));
    scaled_.assign(registers_.size(), false);
    configure();
}

FftGeneralArithmetic::~FftGeneralArithmetic() { mpz_clears(n_, s_, sInverse_, nullptr); }

size_t FftGeneralArithmetic::transformLengthFor(size_t bits, int level) { return generalLayout(bits, level).length; }

int FftGeneralArithmetic::digitBitsFor(size_t bits, int level) { return generalLayout(bits, level).bits; }

void FftGeneralArithmetic::configure()
{
    GeneralLayout layout = generalLayout(nBits_, level_);
    mpz_t r, nPrime, m;
    mpz_inits(r, nPrime, m, nullptr);
    // R must be prime to N. 2^K + 1 with 2^k dividing K has only prime
    // factors 1 mod 2^(k+1), so this is rare; a longer length gives another R.
    for (;;) {
        mpz_set_ui(r, 0);
        mpz_setbit(r, static_cast<mp_bitcnt_t>(layout.bits) * layout.length);
        mpz_add_ui(r, r, 1);
        if (mpz_invert(nPrime, n_, r))
            break;
        layout.length = fft::transformLengthAtLeast(layout.length + 1);
    }
    bits_ = layout.bits;
    length_ = layout.length;
    half_ = length_ / 2;
    shape_.length = length_;
    shape_.base = std::ldexp(1.0, bits_);
    shape_.inverseBase = std::ldexp(1.0, -bits_);
    shape_.carryLevels = fft::carryLevelsFor(bits_);

    // N' = -1/N mod R; 1/R mod N = (N N' + 1) / R; s = R/2 mod N and its
    // inverse 2/R.
    mpz_sub(nPrime, r, nPrime);
    mpz_mul(m, n_, nPrime);
    mpz_add_ui(m, m, 1);
    mpz_divexact(m, m, r);
    mpz_mul_2exp(sInverse_, m, 1);
    mpz_mod(sInverse_, sInverse_, n_);
    mpz_add_ui(s_, n_, 1);
    mpz_divexact_ui(s_, s_, 2);  // 1/2 mod N
    mpz_mul(s_, s_, r);
    mpz_mod(s_, s_, n_);

    whole_ = fft::ProductTransform(half_, false);
    shared_ = fft::ProductTransform(half_, threads_ > 1);
    negacyclicWeights_ = fft::UnitRootTable(half_, 3.141592653589793238462643383279502884L / static_cast<long double>(length_));

    cyclic_ = fft::RealArray(length_);
    cyclicOther_ = fft::RealArray(length_);
    negacyclic_ = fft::RealArray(length_);
    negacyclicOther_ = fft::RealArray(length_);
    squareModP_ = fft::RealArray(length_);
    result_ = fft::RealArray(length_);

    // The constants' transforms, with the inverse transforms' 1/H folded in.
    const fft::Passes& passes = fft::passes();
    const double scale = 1.0 / static_cast<double>(half_);
    balancedDigits(nPrime, bits_, length_, cyclic_.data());
    nPrimeSpectrum_ = fft::RealArray(length_);
    passes.loadNegacyclic(cyclic_.data(), nPrimeSpectrum_.data(), negacyclicWeights_.view(), half_, 0,
                          fft::passBlocks(half_));
    shared_.forward(nPrimeSpectrum_.data());
    nSpectrum_ = fft::RealArray(length_);
    balancedDigits(n_, bits_, length_, nSpectrum_.data());
    shared_.forward(nSpectrum_.data());
    for (size_t i = 0; i < length_; ++i) {
        nPrimeSpectrum_[i] *= scale;
        nSpectrum_[i] *= scale;
    }
    for (auto& reg : registers_) {
        reg = fft::RealArray(length_);
        std::fill(reg.data(), reg.data() + length_, 0.0);
    }
    std::fill(scaled_.begin(), scaled_.end(), false);
    mpz_clears(r, nPrime, m, nullptr);
}

void FftGeneralArithmetic::switchToLongerTransform()
{
    std::vector<mpz_t> values(registers_.size());
    for (size_t i = 0; i < registers_.size(); ++i) {
        mpz_init(values[i]);
        get(static_cast<Register>(i), values[i]);
    }
    size_t oldLength = length_;
    int oldBits = bits_;
    do {
        ++level_;
        configure();
    } while (length_ <= oldLength && bits_ >= oldBits && bits_ > 4);
    for (size_t i = 0; i < registers_.size(); ++i) {
        set(static_cast<Register>(i), values[i]);
        mpz_clear(values[i]);
    }
    ++escalations_;
}

void FftGeneralArithmetic::toDigits(mpz_srcptr value, double* digits) const
{
    balancedDigits(value, bits_, length_, digits);
}

void FftGeneralArithmetic::fromDigits(const double* digits, mpz_ptr value) const
{
    // Digits are near the balanced range, |d| < 2^b: the positive ones and
    // the negative ones each fill disjoint bit fields.
    const size_t limbCount = (length_ * bits_) / 64 + 2;
    mpz_t negative;
    mpz_init(negative);
    mp_limb_t* plus = mpz_limbs_write(value, limbCount);
    mp_limb_t* minus = mpz_limbs_write(negative, limbCount);
    std::fill(plus, plus + limbCount, mp_limb_t(0));
    std::fill(minus, minus + limbCount, mp_limb_t(0));
    for (size_t i = 0; i < length_; ++i) {
        int64_t d = static_cast<int64_t>(digits[i]);
        if (d > 0)
            fft::orBits(plus, uint64_t(i) * bits_, static_cast<uint64_t>(d));
        else if (d < 0)
            fft::orBits(minus, uint64_t(i) * bits_, static_cast<uint64_t>(-d));
    }
    mpz_limbs_finish(value, limbCount);
    mpz_limbs_finish(negative, limbCount);
    mpz_sub(value, value, negative);
    mpz_clear(negative);
}

void FftGeneralArithmetic::set(Register target, mpz_srcptr value)
{
    assert(mpz_sgn(value) >= 0 && mpz_cmp(value, n_) < 0);
    mpz_t form;
    mpz_init(form);
    mpz_mul(form, value, s_);
    mpz_mod(form, form, n_);
    toDigits(form, registers_[target].data());
    scaled_[target] = false;
    mpz_clear(form);
}

void FftGeneralArithmetic::get(Register source, mpz_ptr value) const
{
    fromDigits(registers_[source].data(), value);
    mpz_mul(value, value, sInverse_);
    mpz_mod(value, value, n_);
}

void FftGeneralArithmetic::copy(Register target, Register source)
{
    if (target == source)
        return;
    std::copy(registers_[source].data(), registers_[source].data() + length_, registers_[target].data());
    scaled_[target] = scaled_[source];
}

template <typename Pass>
double FftGeneralArithmetic::parallelPass(size_t blocks, Pass pass)
{
    if (threads_ <= 1)
        return pass(0, blocks);
    double worst[2] = {0.0, 0.0};
    fft::parallelFor(2, 2, [&](size_t job) { worst[job] = pass(blocks * job / 2, blocks * (job + 1) / 2); });
    return std::max(worst[0], worst[1]);
}

bool FftGeneralArithmetic::tryProduct(const double* x, const double* y)
{
    const fft::Passes& passes = fft::passes();
    const double scale = 1.0 / static_cast<double>(half_);
    const size_t halfBlocks = fft::passBlocks(half_);
    const size_t digitBlocks = fft::passBlocks(length_);
    const fft::TwoLevelTable weights = negacyclicWeights_.view();
    auto pairBlocks = [](const fft::SpectrumSection& s) { return fft::passBlocks((s.length - s.offset) / 2 + 1); };

    // 1. T mod P into squareModP_ as digits, and T mod R into
    //    negacyclicOther_ as the next negacyclic transform's input.
    double worstModP = 0.0, worstModR = 0.0;
    auto modP = [&] {
        std::copy(x, x + length_, cyclic_.data());
        if (y) {
            std::copy(y, y + length_, cyclicOther_.data());
            whole_.forward(cyclicOther_.data());
        }
        whole_.run(cyclic_.data(), [&](const fft::SpectrumSection& s, double* values) {
            if (y)
                passes.multiplyCyclic(values, cyclicOther_.data(), s.cyclicTwiddle, s.length, 0, scale, 0, pairBlocks(s));
            else
                passes.squareCyclic(values, s.cyclicTwiddle, s.length, 0, scale, 0, pairBlocks(s));
        });
        worstModP = passes.carryCyclic(cyclic_.data(), 1.0, nullptr, squareModP_.data(), shape_, 0, digitBlocks);
    };
    auto modR = [&] {
        passes.loadNegacyclic(x, negacyclic_.data(), weights, half_, 0, halfBlocks);
        if (y) {
            passes.loadNegacyclic(y, negacyclicOther_.data(), weights, half_, 0, halfBlocks);
            whole_.forward(negacyclicOther_.data());
        }
        whole_.run(negacyclic_.data(), [&](const fft::SpectrumSection&, double* values) {
            if (y)
                passes.multiplySpectrum(values, negacyclicOther_.data(), scale, half_, 0, halfBlocks);
            else
                passes.squareSpectrum(values, scale, half_, 0, halfBlocks);
        });
        worstModR = passes.carryNegacyclic(negacyclic_.data(), weights, shape_, nullptr, negacyclicOther_.data(), 0,
                                           halfBlocks);
    };
    if (threads_ > 1) {
        fft::parallelFor(2, 2, [&](size_t half) { half == 0 ? modP() : modR(); });
    } else {
        modP();
        modR();
    }
    double worst = std::max(worstModP, worstModR);

    // 2. q = T * N' mod R, as digits into cyclic_.
    double* z = negacyclicOther_.data();
    shared_.run(z, [&](const fft::SpectrumSection& s, double* values) {
        passes.multiplySpectrum(values, nPrimeSpectrum_.data() + 2 * s.start, 1.0, s.length, 0, fft::passBlocks(s.length));
    });
    worst = std::max(worst, parallelPass(halfBlocks, [&](size_t from, size_t to) {
        return passes.carryNegacyclic(z, weights, shape_, cyclic_.data(), nullptr, from, to);
    }));

    // 3. 2Y = T + q N mod P into result_.
    double* q = cyclic_.data();
    shared_.run(q, [&](const fft::SpectrumSection& s, double* values) {
        passes.multiplyCyclic(values, nSpectrum_.data() + 2 * s.start, s.cyclicTwiddle, s.length, s.offset, 1.0, 0,
                              pairBlocks(s));
    });
    worst = std::max(worst, parallelPass(digitBlocks, [&](size_t from, size_t to) {
        return passes.carryCyclic(q, 1.0, squareModP_.data(), result_.data(), shape_, from, to);
    }));

    if (worst > roundoffLimit_)
        return false;
    worstRoundoff_ = std::max(worstRoundoff_, worst);
    return true;
}

void FftGeneralArithmetic::product(Register x, Register y)
{
    for (int attempt = 0;; ++attempt) {
        const double* other = y < 0 ? nullptr : registers_[y].data();
        if (tryProduct(registers_[x].data(), other))
            break;
        if (attempt == kMaxEscalationsPerStep)  // never a result from an unsafe step
            throw std::runtime_error("FFT arithmetic: the round-off stays unsafe on longer transforms");
        switchToLongerTransform();
    }
    std::swap(registers_[x], result_);
    scaled_[x] = false;
}

void FftGeneralArithmetic::square(Register x) { product(x, -1); }

void FftGeneralArithmetic::multiply(Register x, Register y)
{
    if (x == y || std::equal(registers_[x].data(), registers_[x].data() + length_, registers_[y].data()))
        product(x, -1);
    else
        product(x, y);
}

void FftGeneralArithmetic::reduceRegister(Register x)
{
    mpz_t value;
    mpz_init(value);
    get(x, value);
    set(x, value);
    mpz_clear(value);
}

void FftGeneralArithmetic::multiplySmall(Register x, uint32_t c)
{
    // The register form is linear: (x s) c = (x c) s. The digits times c
    // carried once more stay exact (below 2^(b+32)), and the value, up to
    // 2^32 times the bound, is what the next product allows for.
    if (!smallEnoughFactor(bits_, c)) {  // wide digits (short numbers) and a large factor
        mpz_t value;
        mpz_init(value);
        get(x, value);
        mpz_mul_ui(value, value, c);
        mpz_mod(value, value, n_);
        set(x, value);
        mpz_clear(value);
        return;
    }
    if (scaled_[x])
        reduceRegister(x);
    double* digits = registers_[x].data();
    parallelPass(fft::passBlocks(length_), [&](size_t from, size_t to) {
        return fft::passes().carryCyclic(digits, static_cast<double>(c), nullptr, result_.data(), shape_, from, to);
    });
    std::swap(registers_[x], result_);
    scaled_[x] = true;
}

void FftGeneralArithmetic::addSmall(Register x, int64_t c)
{
    mpz_t value;
    mpz_init(value);
    get(x, value);
    if (c >= 0)
        mpz_add_ui(value, value, static_cast<unsigned long>(c));
    else
        mpz_sub_ui(value, value, static_cast<unsigned long>(-c));
    mpz_mod(value, value, n_);
    set(x, value);
    mpz_clear(value);
}

void FftGeneralArithmetic::corruptForTest(Register x)
{
    registers_[x][0] += 2.0;  // x s + 2: another residue, as a flipped bit would make
}

}  // namespace arithmetic
