#include "mersenne_arithmetic.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <stdexcept>

#include "fft_carry.h"
#include "fft_digits.h"
#include "fft_kernels.h"

namespace prp {

namespace {

// v as a balanced digit of `width` bits (-2^(width-1) .. 2^(width-1) - 1)
// plus the carry to the next digit.
inline int32_t balance(int64_t v, int width, int64_t& carry)
{
    const int64_t base = int64_t(1) << width;
    int64_t low = v & (base - 1);
    if (low >= (base >> 1))
        low -= base;
    carry = (v - low) >> width;
    return static_cast<int32_t>(low);
}

}  // namespace

MersenneArithmetic::MersenneArithmetic(unsigned long q, int registers, unsigned threads, int level)
    : q_(q), threads_(std::max(1u, threads)), level_(level)
{
    if (q < 64)
        throw std::invalid_argument("MersenneArithmetic: q must be at least 64");
    registers_.resize(static_cast<size_t>(std::max(1, registers)));
    configure();
}

void MersenneArithmetic::configure()
{
    // The shortest length whose digits (ceil(q/L) bits at most) the table
    // allows at that length.
    size_t length = fft::smoothLengthAtLeast(std::max<size_t>(8, q_ / 24));
    for (;;) {
        size_t widest = (q_ + length - 1) / length;
        if (static_cast<int>(widest) <= fft::bitsPerDigit(length, level_) || widest <= 2)
            break;
        length = fft::smoothLengthAtLeast(length + 1);
    }
    length_ = length;
    position_.resize(length_ + 1);
    width_.resize(length_);
    weight_.resize(length_);
    unweight_.resize(length_);
    for (size_t i = 0; i <= length_; ++i) {
        unsigned __int128 qi = static_cast<unsigned __int128>(q_) * i;
        position_[i] = static_cast<uint64_t>((qi + length_ - 1) / length_);
    }
    for (size_t i = 0; i < length_; ++i) {
        width_[i] = static_cast<uint8_t>(position_[i + 1] - position_[i]);
        // 2^(ceil(qi/L) - qi/L), the exponent as an exact fraction.
        unsigned __int128 numerator = static_cast<unsigned __int128>(position_[i]) * length_ - static_cast<unsigned __int128>(q_) * i;
        long double exponent = static_cast<long double>(static_cast<uint64_t>(numerator)) / static_cast<long double>(length_);
        long double weight = std::exp2l(exponent);
        weight_[i] = static_cast<double>(weight);
        unweight_[i] = static_cast<double>(1.0L / (weight * static_cast<long double>(length_)));
    }
    base_.resize(length_);
    inverseBase_.resize(length_);
    for (size_t i = 0; i < length_; ++i) {
        base_[i] = std::ldexp(1.0, width_[i]);
        inverseBase_[i] = std::ldexp(1.0, -width_[i]);
    }
    digitScratch_.assign(length_, 0.0);
    carryIn_.assign(length_, 0.0);
    carryOut_.assign(length_, 0.0);
    result_.assign(length_, 0);
    plans_ = &fft::transformPair(length_, threads_);
    real_ = fft::RealArray(length_);
    spectrumA_ = fft::ComplexArray(length_ / 2 + 1);
    spectrumB_ = fft::ComplexArray(length_ / 2 + 1);
    for (auto& r : registers_)
        r.assign(length_, 0);
}

void MersenneArithmetic::switchToLongerTransform()
{
    std::vector<mpz_t> values(registers_.size());
    for (size_t i = 0; i < registers_.size(); ++i) {
        mpz_init(values[i]);
        get(static_cast<Register>(i), values[i]);
    }
    size_t oldLength = length_;
    do {
        ++level_;
        configure();
    } while (length_ <= oldLength && length_ < q_ / 2);
    for (size_t i = 0; i < registers_.size(); ++i) {
        set(static_cast<Register>(i), values[i]);
        mpz_clear(values[i]);
    }
    ++escalations_;
}

void MersenneArithmetic::carryFrom(std::vector<int32_t>& digits, size_t from, int64_t carry) const
{
    size_t i = from;
    while (carry != 0) {
        digits[i] = balance(digits[i] + carry, width_[i], carry);
        if (++i == length_)
            i = 0;  // 2^q = 1
    }
}

void MersenneArithmetic::set(Register target, mpz_srcptr value)
{
    auto& digits = registers_[target];
    const mp_limb_t* limbs = mpz_limbs_read(value);
    size_t count = mpz_size(value);
    int64_t carry = 0;
    for (size_t i = 0; i < length_; ++i) {
        int64_t v = static_cast<int64_t>(fft::readBits(limbs, count, position_[i], width_[i])) + carry;
        digits[i] = balance(v, width_[i], carry);
    }
    carryFrom(digits, 0, carry);
}

void MersenneArithmetic::get(Register source, mpz_ptr value) const
{
    const auto& digits = registers_[source];
    size_t limbCount = q_ / 64 + 2;
    mpz_t negative;
    mpz_init(negative);
    mp_limb_t* plus = mpz_limbs_write(value, limbCount);
    mp_limb_t* minus = mpz_limbs_write(negative, limbCount);
    std::fill(plus, plus + limbCount, mp_limb_t(0));
    std::fill(minus, minus + limbCount, mp_limb_t(0));
    for (size_t i = 0; i < length_; ++i) {
        int32_t d = digits[i];
        if (d > 0)
            fft::orBits(plus, position_[i], static_cast<uint64_t>(d));
        else if (d < 0)
            fft::orBits(minus, position_[i], static_cast<uint64_t>(-static_cast<int64_t>(d)));
    }
    mpz_limbs_finish(value, limbCount);
    mpz_limbs_finish(negative, limbCount);
    mpz_sub(value, value, negative);
    // -2^q < value < 2^q (a digit of -2^(w-1) at the top reaches bit q at most)
    mpz_t mersenne;
    mpz_init(mersenne);
    mpz_setbit(mersenne, q_);
    mpz_sub_ui(mersenne, mersenne, 1);
    mpz_mod(value, value, mersenne);
    mpz_clear(mersenne);
    mpz_clear(negative);
}

void MersenneArithmetic::copy(Register target, Register source)
{
    if (target != source)
        registers_[target] = registers_[source];
}

void MersenneArithmetic::load(const std::vector<int32_t>& digits, double* out) const
{
    for (size_t i = 0; i < length_; ++i)
        out[i] = digits[i] * weight_[i];
}

bool MersenneArithmetic::tryProduct(Register x, Register y)
{
    const size_t half = length_ / 2 + 1;
    load(registers_[x], real_.data());
    plans_->runForward(real_.data(), spectrumA_.data());
    if (y < 0) {
        fft::squareSpectrum(spectrumA_.data(), half, 1.0);
    } else {
        load(registers_[y], real_.data());
        plans_->runForward(real_.data(), spectrumB_.data());
        fft::multiplySpectrum(spectrumA_.data(), spectrumB_.data(), half, 1.0);
    }
    plans_->runInverse(spectrumA_.data(), real_.data());

    // Carries without a serial chain through all digits (which costs a few
    // cycles of latency per digit): every coefficient is split into a
    // balanced digit and a carry at once, each digit gets the carry of the
    // one below (the top one's goes to digit 0: 2^q = 1) and is split again,
    // until no carry is beyond -1 .. 1; those last ones are added in,
    // leaving digits at most one beyond the balanced range. All in doubles,
    // exactly (integers below 2^53). The first two splits share one pass.
    const size_t n = length_;
    double* digit = digitScratch_.data();
    double* carryIn = carryIn_.data();
    double* carryOut = carryOut_.data();
    double worst = fft::splitWeightedProduct(real_.data(), unweight_.data(), base_.data(), inverseBase_.data(), digit, carryIn, n);
    if (worst > roundoffLimit_)
        return false;
    while (fft::addAndSplitCarries(digit, carryIn, carryOut, base_.data(), inverseBase_.data(), n) > 1.0)
        std::swap(carryIn, carryOut);
    std::swap(carryIn, carryOut);
    result_.resize(n);
    result_[0] = static_cast<int32_t>(digit[0] + carryIn[n - 1]);
    for (size_t i = 1; i < n; ++i)
        result_[i] = static_cast<int32_t>(digit[i] + carryIn[i - 1]);
    worstRoundoff_ = std::max(worstRoundoff_, worst);
    return true;
}

void MersenneArithmetic::product(Register x, Register y)
{
    while (!tryProduct(x, y))
        switchToLongerTransform();
    registers_[x].swap(result_);
}

void MersenneArithmetic::square(Register x) { product(x, -1); }

void MersenneArithmetic::multiply(Register x, Register y) { product(x, x == y ? -1 : y); }

void MersenneArithmetic::multiplySmall(Register x, uint32_t c)
{
    auto& digits = registers_[x];
    int64_t carry = 0;
    for (size_t i = 0; i < length_; ++i)
        digits[i] = balance(static_cast<int64_t>(digits[i]) * c + carry, width_[i], carry);
    carryFrom(digits, 0, carry);
}

void MersenneArithmetic::addSmall(Register x, int64_t c) { carryFrom(registers_[x], 0, c); }

void MersenneArithmetic::corruptForTest(Register x) { registers_[x][0] ^= 1; }

}  // namespace prp
