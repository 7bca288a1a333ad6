#include "arithmetic/mersenne_arithmetic.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <stdexcept>

#include "arithmetic/fft_carry.h"
#include "arithmetic/fft_digits.h"
#include "arithmetic/fft_kernels.h"

namespace arithmetic {

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

size_t MersenneArithmetic::transformLengthFor(unsigned long q, int level)
{
    // The shortest length whose digits (ceil(q/L) bits at most) the table
    // allows at that length.
    size_t length = fft::smoothLengthAtLeast(std::max<size_t>(8, q / 24));
    for (;;) {
        size_t widest = (q + length - 1) / length;
        if (static_cast<int>(widest) <= fft::bitsPerDigit(length, level) || widest <= 2)
            return length;
        length = fft::smoothLengthAtLeast(length + 1);
    }
}

void MersenneArithmetic::configure()
{
    length_ = transformLengthFor(q_, level_);
    position_.resize(length_ + 1);
    width_.resize(length_);
    weight_.resize(length_);
    inverseWeight_.resize(length_);
    unweight_.resize(length_);
    base_.resize(length_);
    inverseBase_.resize(length_);
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
        inverseWeight_[i] = static_cast<double>(1.0L / weight);
        unweight_[i] = static_cast<double>(1.0L / (weight * static_cast<long double>(length_)));
        base_[i] = std::ldexp(1.0, width_[i]);
        inverseBase_[i] = std::ldexp(1.0, -width_[i]);
    }
    digitScratch_.assign(length_, 0.0);
    carryIn_.assign(length_, 0.0);
    carryOut_.assign(length_, 0.0);
    plans_ = &fft::transformPair(length_, threads_);
    real_ = fft::RealArray(length_);
    result_ = fft::RealArray(length_);
    spectrumA_ = fft::ComplexArray(length_ / 2 + 1);
    spectrumB_ = fft::ComplexArray(length_ / 2 + 1);
    for (auto& r : registers_) {
        r = fft::RealArray(length_);
        std::fill(r.data(), r.data() + length_, 0.0);
    }
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

int64_t MersenneArithmetic::digitAt(const fft::RealArray& reg, size_t i) const
{
    return static_cast<int64_t>(fft::roundToInteger(reg[i] * inverseWeight_[i]));
}

void MersenneArithmetic::carryFrom(fft::RealArray& reg, size_t from, int64_t carry) const
{
    size_t i = from;
    while (carry != 0) {
        int32_t digit = balance(digitAt(reg, i) + carry, width_[i], carry);
        reg[i] = digit * weight_[i];
        if (++i == length_)
            i = 0;  // 2^q = 1
    }
}

void MersenneArithmetic::set(Register target, mpz_srcptr value)
{
    auto& reg = registers_[target];
    const mp_limb_t* limbs = mpz_limbs_read(value);
    size_t count = mpz_size(value);
    int64_t carry = 0;
    for (size_t i = 0; i < length_; ++i) {
        int64_t v = static_cast<int64_t>(fft::readBits(limbs, count, position_[i], width_[i])) + carry;
        reg[i] = balance(v, width_[i], carry) * weight_[i];
    }
    carryFrom(reg, 0, carry);
}

void MersenneArithmetic::get(Register source, mpz_ptr value) const
{
    const auto& reg = registers_[source];
    size_t limbCount = q_ / 64 + 2;
    mpz_t negative;
    mpz_init(negative);
    mp_limb_t* plus = mpz_limbs_write(value, limbCount);
    mp_limb_t* minus = mpz_limbs_write(negative, limbCount);
    std::fill(plus, plus + limbCount, mp_limb_t(0));
    std::fill(minus, minus + limbCount, mp_limb_t(0));
    // Digits are within one of the balanced range: |d| < 2^width, so the
    // positive ones and the negative ones each fill disjoint bit fields.
    for (size_t i = 0; i < length_; ++i) {
        int64_t d = digitAt(reg, i);
        if (d > 0)
            fft::orBits(plus, position_[i], static_cast<uint64_t>(d));
        else if (d < 0)
            fft::orBits(minus, position_[i], static_cast<uint64_t>(-d));
    }
    mpz_limbs_finish(value, limbCount);
    mpz_limbs_finish(negative, limbCount);
    mpz_sub(value, value, negative);
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
        std::copy(registers_[source].data(), registers_[source].data() + length_, registers_[target].data());
}

bool MersenneArithmetic::carryInto(const double* unweight)
{
    // Carries without a serial chain through all digits (which costs a few
    // cycles of latency per digit): every coefficient is split into a
    // balanced digit and a carry at once, each digit gets the carry of the
    // one below (the top one's goes to digit 0: 2^q = 1) and is split
    // again, and once more in the last pass, which adds the last carries (-1
    // .. 1) in and weights the digits: they end at most one beyond the
    // balanced range. All in doubles, exactly (integers below 2^53), in two
    // vectorised passes.
    const size_t n = length_;
    double* digit = digitScratch_.data();
    double* carryIn = carryIn_.data();
    double* carryOut = carryOut_.data();
    double worst = fft::splitWeightedProduct(real_.data(), unweight, base_.data(), inverseBase_.data(), digit, carryIn, n);
    if (worst > roundoffLimit_)
        return false;
    while (fft::finishCarries(digit, carryIn, base_.data(), inverseBase_.data(), weight_.data(), result_.data(), n) > 1.0) {
        fft::addAndSplitCarries(digit, carryIn, carryOut, base_.data(), inverseBase_.data(), n);
        std::swap(carryIn, carryOut);
    }
    worstRoundoff_ = std::max(worstRoundoff_, worst);
    return true;
}

bool MersenneArithmetic::tryProduct(Register x, Register y)
{
    const size_t half = length_ / 2 + 1;
    // Out-of-place real-to-complex transforms leave their input alone.
    plans_->runForward(registers_[x].data(), spectrumA_.data());
    if (y < 0) {
        fft::squareSpectrum(spectrumA_.data(), half, 1.0);
    } else {
        plans_->runForward(registers_[y].data(), spectrumB_.data());
        fft::multiplySpectrum(spectrumA_.data(), spectrumB_.data(), half, 1.0);
    }
    plans_->runInverse(spectrumA_.data(), real_.data());
    return carryInto(unweight_.data());
}

void MersenneArithmetic::product(Register x, Register y)
{
    for (int attempt = 0; !tryProduct(x, y); ++attempt) {
        if (attempt == kMaxEscalationsPerStep)  // never a result from an unsafe step
            throw std::runtime_error("IBDWT: the round-off stays unsafe on longer transforms");
        switchToLongerTransform();
    }
    std::swap(registers_[x], result_);
}

void MersenneArithmetic::square(Register x) { product(x, -1); }

void MersenneArithmetic::multiply(Register x, Register y) { product(x, x == y ? -1 : y); }

void MersenneArithmetic::multiplySmall(Register x, uint32_t c)
{
    auto& reg = registers_[x];
    const int widest = (q_ + length_ - 1) / length_;
    if (widest + 33 <= 51) {
        // The weighted digits (below 2^(width+1)) times c stay below 2^51:
        // exact, and carried like a product.
        const double factor = static_cast<double>(c);
        for (size_t i = 0; i < length_; ++i)
            real_[i] = reg[i] * factor;
        double limit = roundoffLimit_;
        roundoffLimit_ = 0.5;  // only the unweighting's own rounding here
        bool done = carryInto(inverseWeight_.data());
        roundoffLimit_ = limit;
        assert(done);
        (void)done;
        std::swap(reg, result_);
        return;
    }
    // Wide digits (short numbers): in integers.
    int64_t carry = 0;
    for (size_t i = 0; i < length_; ++i)
        reg[i] = balance(digitAt(reg, i) * static_cast<int64_t>(c) + carry, width_[i], carry) * weight_[i];
    carryFrom(reg, 0, carry);
}

void MersenneArithmetic::addSmall(Register x, int64_t c) { carryFrom(registers_[x], 0, c); }

void MersenneArithmetic::corruptForTest(Register x)
{
    auto& reg = registers_[x];
    reg[0] = static_cast<double>(digitAt(reg, 0) ^ 1) * weight_[0];
}

}  // namespace arithmetic
