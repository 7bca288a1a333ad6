#include "arithmetic/fft_general_arithmetic.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <stdexcept>

#include "arithmetic/fft_carry.h"
#include "arithmetic/fft_digits.h"
#include "arithmetic/fft_kernels.h"

namespace arithmetic {

namespace {

using fft::roundToInteger;

// Writes `count` digits (0 .. 2^bits - 1) as balanced digits into
// out[0 .. length), zero-padded: digit i becomes d_i - 2^bits [d_i >= 2^(bits-1)]
// + [d_(i-1) >= 2^(bits-1)], in -2^(bits-1) .. 2^(bits-1), with no carry
// running through the digits (so the loop vectorises); the top one's
// borrow makes one more digit. Returns the digits written.
size_t loadBalanced(const uint32_t* __restrict digits, size_t count, int bits, double* __restrict out, size_t length)
{
    if (count == 0) {
        std::fill(out, out + length, 0.0);
        return 0;
    }
    // Digits are below 2^24: as int32 the loop is plain vector arithmetic.
    const int32_t* d = reinterpret_cast<const int32_t*>(digits);
    const int top = bits - 1;
    out[0] = static_cast<double>(d[0] - ((d[0] >> top) << bits));
    for (size_t i = 1; i < count; ++i)
        out[i] = static_cast<double>(d[i] - ((d[i] >> top) << bits) + (d[i - 1] >> top));
    size_t used = count;
    if (d[count - 1] >> top)
        out[used++] = 1.0;
    std::fill(out + used, out + length, 0.0);
    return used;
}

// Rounds product coefficients in[0 .. count) (in place) and propagates
// carries into digits[0 .. digitCount) (the product must be non-negative
// and fit). Returns the worst distance of a coefficient from its integer.
double roundAndCarry(double* in, size_t count, int bits, uint32_t* digits, size_t digitCount)
{
    const int64_t mask = (int64_t(1) << bits) - 1;
    double worst = fft::roundCoefficients(in, count);
    int64_t carry = 0;
    size_t i = 0;
    for (; i < count; ++i) {
        int64_t v = static_cast<int64_t>(in[i]) + carry;
        digits[i] = static_cast<uint32_t>(v & mask);
        carry = v >> bits;
    }
    for (; i < digitCount; ++i) {
        digits[i] = static_cast<uint32_t>(carry & mask);
        carry >>= bits;
    }
    return carry == 0 ? worst : 1.0;  // a carry out of the top: not a sound product
}

bool allZero(const uint32_t* digits, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        if (digits[i] != 0)
            return false;
    return true;
}

}  // namespace

FftGeneralArithmetic::FftGeneralArithmetic(mpz_srcptr n, int registers, unsigned threads, int level)
    : threads_(std::max(1u, threads)), level_(level)
{
    if (mpz_sizeinbase(n, 2) <= 64 || mpz_even_p(n))
        throw std::invalid_argument("FftGeneralArithmetic: N must be odd and above 2^64");
    mpz_init_set(n_, n);
    nBits_ = mpz_sizeinbase(n, 2);
    registers_.resize(static_cast<size_t>(std::max(1, registers)));
    configure();
}

FftGeneralArithmetic::~FftGeneralArithmetic() { mpz_clear(n_); }

struct GeneralLayout {
    int bits;
    size_t digits, shiftLow, shiftHigh, muDigits, length, cyclicLength;
};

// The largest digit size whose full length the table allows.
static GeneralLayout generalLayout(size_t nBits, int level)
{
    for (int b = 24;; --b) {
        GeneralLayout layout{};
        layout.bits = b;
        layout.digits = (nBits + b - 1) / b;
        layout.shiftLow = (nBits - 1) / b;                                     // 2^(bs) <= 2^(n-1) <= N
        layout.shiftHigh = (2 * nBits - b * layout.shiftLow + b - 1) / b;      // b(s+t) >= 2n > bits of x
        size_t exponent = b * (layout.shiftLow + layout.shiftHigh);
        layout.muDigits = (exponent - nBits + 2 + b - 1) / b;                  // mu < 2^(E-n+1)
        size_t q1Digits = 2 * layout.digits - layout.shiftLow;
        // Balanced loading may add one digit to each operand.
        size_t needFull = std::max(2 * (layout.digits + 1), (q1Digits + 1) + (layout.muDigits + 1));
        layout.length = fft::smoothLengthAtLeast(needFull);
        size_t needCyclic = std::max(layout.digits + 1, (nBits + 2 + b - 1) / b);  // 2^(bM) > 3N + 1
        layout.cyclicLength = fft::smoothLengthAtLeast(needCyclic);
        // The zero-padded products sum at most about half their length of
        // terms per coefficient; the wrapped q*N product its whole length.
        size_t paddedTerms = std::max(layout.digits, q1Digits) + 2;
        if ((fft::bitsPerDigit(paddedTerms, level) < b || fft::bitsPerDigit(layout.cyclicLength, level) < b) && b > 4)
            continue;
        return layout;
    }
}

size_t FftGeneralArithmetic::transformLengthFor(size_t bits, int level) { return generalLayout(bits, level).length; }

void FftGeneralArithmetic::configure()
{
    GeneralLayout layout = generalLayout(nBits_, level_);
    bits_ = layout.bits;
    digits_ = layout.digits;
    shiftLow_ = layout.shiftLow;
    shiftHigh_ = layout.shiftHigh;
    muDigits_ = layout.muDigits;
    length_ = layout.length;
    cyclicLength_ = layout.cyclicLength;
    mpz_t mu;
    mpz_init(mu);
    mpz_setbit(mu, bits_ * (shiftLow_ + shiftHigh_));
    mpz_fdiv_q(mu, mu, n_);
    full_ = &fft::transformPair(length_, threads_);
    cyclic_ = &fft::transformPair(cyclicLength_, threads_);

    realFull_ = fft::RealArray(length_);
    realCyclic_ = fft::RealArray(cyclicLength_);
    spectrumA_ = fft::ComplexArray(length_ / 2 + 1);
    spectrumB_ = fft::ComplexArray(length_ / 2 + 1);
    spectrumCyclic_ = fft::ComplexArray(cyclicLength_ / 2 + 1);
    xDigits_.assign(std::max(length_, 2 * cyclicLength_) + 4, 0);
    q2Digits_.assign(length_ + 4, 0);
    rDigits_.assign(cyclicLength_ + 4, 0);

    nDigits_.assign(cyclicLength_ + 4, 0);
    toDigits(n_, nDigits_.data());

    // The transform of mu on L and of N on M, with the inverse transform's
    // 1/length folded in.
    std::vector<uint32_t> muDigits(muDigits_ + 1, 0);
    {
        const mp_limb_t* limbs = mpz_limbs_read(mu);
        size_t count = mpz_size(mu);
        for (size_t i = 0; i < muDigits.size(); ++i)
            muDigits[i] = static_cast<uint32_t>(fft::readBits(limbs, count, uint64_t(i) * bits_, bits_));
    }
    muSpectrum_ = fft::ComplexArray(length_ / 2 + 1);
    loadBalanced(muDigits.data(), muDigits.size(), bits_, realFull_.data(), length_);
    full_->runForward(realFull_.data(), muSpectrum_.data());
    for (size_t k = 0; k <= length_ / 2; ++k) {
        muSpectrum_[k][0] /= static_cast<double>(length_);
        muSpectrum_[k][1] /= static_cast<double>(length_);
    }
    nSpectrum_ = fft::ComplexArray(cyclicLength_ / 2 + 1);
    loadBalanced(nDigits_.data(), digits_, bits_, realCyclic_.data(), cyclicLength_);
    cyclic_->runForward(realCyclic_.data(), nSpectrum_.data());
    for (size_t k = 0; k <= cyclicLength_ / 2; ++k) {
        nSpectrum_[k][0] /= static_cast<double>(cyclicLength_);
        nSpectrum_[k][1] /= static_cast<double>(cyclicLength_);
    }
    for (auto& r : registers_)
        r.assign(digits_, 0);
    mpz_clear(mu);
}

void FftGeneralArithmetic::switchToLongerTransform()
{
    std::vector<mpz_t> values(registers_.size());
    for (size_t i = 0; i < registers_.size(); ++i) {
        mpz_init(values[i]);
        get(static_cast<Register>(i), values[i]);
    }
    ++level_;
    size_t oldLength = length_;
    configure();
    if (length_ <= oldLength && bits_ > 4) {  // same length at one bit less: go on until it grows
        ++level_;
        configure();
    }
    for (size_t i = 0; i < registers_.size(); ++i) {
        set(static_cast<Register>(i), values[i]);
        mpz_clear(values[i]);
    }
    ++escalations_;
}

void FftGeneralArithmetic::toDigits(mpz_srcptr value, uint32_t* digits) const
{
    const mp_limb_t* limbs = mpz_limbs_read(value);
    size_t count = mpz_size(value);
    for (size_t i = 0; i < digits_; ++i)
        digits[i] = static_cast<uint32_t>(fft::readBits(limbs, count, uint64_t(i) * bits_, bits_));
}

void FftGeneralArithmetic::fromDigits(const uint32_t* digits, size_t count, mpz_ptr value) const
{
    size_t limbCount = (count * bits_) / 64 + 2;
    mp_limb_t* limbs = mpz_limbs_write(value, limbCount);
    std::fill(limbs, limbs + limbCount, mp_limb_t(0));
    for (size_t i = 0; i < count; ++i)
        fft::orBits(limbs, uint64_t(i) * bits_, digits[i]);
    mpz_limbs_finish(value, limbCount);
}

void FftGeneralArithmetic::set(Register target, mpz_srcptr value)
{
    assert(mpz_sgn(value) >= 0 && mpz_cmp(value, n_) < 0);
    toDigits(value, registers_[target].data());
}

void FftGeneralArithmetic::get(Register source, mpz_ptr value) const
{
    fromDigits(registers_[source].data(), digits_, value);
}

void FftGeneralArithmetic::copy(Register target, Register source)
{
    if (target != source)
        registers_[target] = registers_[source];
}

bool FftGeneralArithmetic::atLeastN(const uint32_t* r, size_t count) const
{
    if (!allZero(r, digits_, count))
        return true;
    for (size_t i = digits_; i-- > 0;)
        if (r[i] != nDigits_[i])
            return r[i] > nDigits_[i];
    return true;  // equal
}

void FftGeneralArithmetic::subtractN(uint32_t* r) const
{
    const int64_t mask = (int64_t(1) << bits_) - 1;
    int64_t carry = 0;
    for (size_t i = 0; i < cyclicLength_; ++i) {
        int64_t v = int64_t(r[i]) - nDigits_[i] + carry;
        r[i] = static_cast<uint32_t>(v & mask);
        carry = v >> bits_;
    }
}

bool FftGeneralArithmetic::tryProduct(const uint32_t* a, const uint32_t* b, uint32_t* result)
{
    const size_t half = length_ / 2 + 1;
    const size_t cyclicHalf = cyclicLength_ / 2 + 1;
    const double scale = 1.0 / static_cast<double>(length_);
    double worst = 0.0;

    // x = a * b: 2D digits.
    size_t usedA = loadBalanced(a, digits_, bits_, realFull_.data(), length_);
    full_->runForward(realFull_.data(), spectrumA_.data());
    size_t usedB = usedA;
    if (b == nullptr) {
        fft::squareSpectrum(spectrumA_.data(), half, scale);
    } else {
        usedB = loadBalanced(b, digits_, bits_, realFull_.data(), length_);
        full_->runForward(realFull_.data(), spectrumB_.data());
        fft::multiplySpectrum(spectrumA_.data(), spectrumB_.data(), half, scale);
    }
    full_->runInverse(spectrumA_.data(), realFull_.data());
    const size_t xCount = 2 * digits_;
    worst = std::max(worst, roundAndCarry(realFull_.data(), usedA + usedB - 1, bits_, xDigits_.data(), xDigits_.size()));
    if (!allZero(xDigits_.data(), xCount, xDigits_.size()))
        worst = 1.0;

    // q = ((x >> bs) * mu) >> bt, which is floor(x / N) or up to 2 below.
    size_t usedQ1 = loadBalanced(xDigits_.data() + shiftLow_, xCount - shiftLow_, bits_, realFull_.data(), length_);
    full_->runForward(realFull_.data(), spectrumA_.data());
    fft::multiplySpectrum(spectrumA_.data(), muSpectrum_.data(), half, 1.0);
    full_->runInverse(spectrumA_.data(), realFull_.data());
    worst = std::max(worst, roundAndCarry(realFull_.data(), usedQ1 + muDigits_, bits_, q2Digits_.data(), q2Digits_.size()));
    const uint32_t* q = q2Digits_.data() + shiftHigh_;
    if (!allZero(q2Digits_.data(), shiftHigh_ + digits_, q2Digits_.size()))
        worst = 1.0;

    // q * N modulo 2^(bM) - 1, on the cyclic length.
    loadBalanced(q, digits_, bits_, realCyclic_.data(), cyclicLength_);
    cyclic_->runForward(realCyclic_.data(), spectrumCyclic_.data());
    fft::multiplySpectrum(spectrumCyclic_.data(), nSpectrum_.data(), cyclicHalf, 1.0);
    cyclic_->runInverse(spectrumCyclic_.data(), realCyclic_.data());

    // r = x - q*N modulo 2^(bM) - 1, which is the true 0 <= r < 3N.
    const int64_t mask = (int64_t(1) << bits_) - 1;
    const size_t m = cyclicLength_;
    worst = std::max(worst, fft::roundCoefficients(realCyclic_.data(), m));
    const uint32_t* x = xDigits_.data();  // zero from 2D to 2M
    const double* qn = realCyclic_.data();
    int64_t carry = 0;
    for (size_t k = 0; k < m; ++k) {
        int64_t v = int64_t(x[k]) + int64_t(x[k + m]) - static_cast<int64_t>(qn[k]) + carry;
        rDigits_[k] = static_cast<uint32_t>(v & mask);
        carry = v >> bits_;
    }
    while (carry != 0) {  // 2^(bM) = 1: the carry out of the top comes in at the bottom
        for (size_t k = 0; k < m && carry != 0; ++k) {
            int64_t v = rDigits_[k] + carry;
            rDigits_[k] = static_cast<uint32_t>(v & mask);
            carry = v >> bits_;
        }
    }
    if (rDigits_[m - 1] == static_cast<uint32_t>(mask)) {  // all ones is 0 modulo 2^(bM) - 1
        bool allOnes = true;
        for (size_t k = 0; k < m && allOnes; ++k)
            allOnes = rDigits_[k] == static_cast<uint32_t>(mask);
        if (allOnes)
            std::fill(rDigits_.begin(), rDigits_.begin() + m, 0u);
    }
    int subtractions = 0;
    while (atLeastN(rDigits_.data(), m)) {
        if (++subtractions > 3) {  // q was not within 2 of floor(x/N): a product was wrong
            worst = 1.0;
            break;
        }
        subtractN(rDigits_.data());
    }
    if (worst > roundoffLimit_)
        return false;
    worstRoundoff_ = std::max(worstRoundoff_, worst);
    std::copy(rDigits_.begin(), rDigits_.begin() + digits_, result);
    return true;
}

void FftGeneralArithmetic::product(Register x, Register y)
{
    for (int attempt = 0;; ++attempt) {
        result_.resize(digits_);
        const uint32_t* other = y < 0 ? nullptr : registers_[y].data();
        if (tryProduct(registers_[x].data(), other, result_.data()))
            break;
        if (attempt == kMaxEscalationsPerStep)  // never a result from an unsafe step
            throw std::runtime_error("FFT arithmetic: the round-off stays unsafe on longer transforms");
        switchToLongerTransform();
    }
    registers_[x].swap(result_);
}

void FftGeneralArithmetic::square(Register x) { product(x, -1); }

void FftGeneralArithmetic::multiply(Register x, Register y)
{
    if (x == y || registers_[x] == registers_[y])
        product(x, -1);
    else
        product(x, y);
}

void FftGeneralArithmetic::multiplySmall(Register x, uint32_t c)
{
    auto& r = registers_[x];
    if (digits_ < 8 || bits_ < 12) {  // short numbers: GMP, one limb of quotient
        mpz_t value;
        mpz_init(value);
        get(x, value);
        mpz_mul_ui(value, value, c);
        mpz_tdiv_r(value, value, n_);
        set(x, value);
        mpz_clear(value);
        return;
    }
    // y = r * c on D + 3 digits, in one pass.
    const int64_t mask = (int64_t(1) << bits_) - 1;
    const size_t d = digits_, top = d + 3;
    uint32_t* y = rDigits_.data();  // M + 4 >= D + 5 digits
    std::fill(rDigits_.begin() + d, rDigits_.end(), 0u);
    uint64_t carry = 0;
    for (size_t i = 0; i < d; ++i) {
        uint64_t v = uint64_t(r[i]) * c + carry;
        y[i] = static_cast<uint32_t>(v & mask);
        carry = v >> bits_;
    }
    for (size_t i = d; i < top; ++i) {
        y[i] = static_cast<uint32_t>(carry & mask);
        carry >>= bits_;
    }
    // The quotient y / N (below 2^32) from the top digits, within one.
    const size_t low = d - 6;
    long double yTop = 0.0L, nTop = 0.0L, base = std::ldexp(1.0L, bits_);
    for (size_t i = top; i-- > low;)
        yTop = yTop * base + y[i];
    for (size_t i = d; i-- > low;)
        nTop = nTop * base + nDigits_[i];
    const int64_t q = static_cast<int64_t>(yTop / nTop);
    // y - q * N, then at most one N added or a few subtracted.
    int64_t borrow = 0;
    for (size_t i = 0; i < top; ++i) {
        int64_t v = int64_t(y[i]) - q * int64_t(nDigits_[i]) + borrow;
        y[i] = static_cast<uint32_t>(v & mask);
        borrow = v >> bits_;
    }
    while (borrow < 0) {
        int64_t add = 0;
        for (size_t i = 0; i < top; ++i) {
            int64_t v = int64_t(y[i]) + nDigits_[i] + add;
            y[i] = static_cast<uint32_t>(v & mask);
            add = v >> bits_;
        }
        borrow += add;
    }
    while (atLeastN(y, top))
        subtractN(y);
    std::copy(y, y + d, r.begin());
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
    auto& r = registers_[x];
    r[0] ^= 2u;
    if (atLeastN(r.data(), digits_)) {
        std::vector<uint32_t> wide(cyclicLength_ + 4, 0);
        std::copy(r.begin(), r.end(), wide.begin());
        subtractN(wide.data());
        std::copy(wide.begin(), wide.begin() + digits_, r.begin());
    }
}

}  // namespace arithmetic
