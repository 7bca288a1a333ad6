#include "arithmetic/mersenne_arithmetic.h"

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

inline double roundToInteger(double v)
{
    constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
    return (v + kMagic) - kMagic;
}

// The round-off of a pass over `blocks` blocks, on two threads when there
// are two.
template <typename Pass>
double parallelPass(unsigned threads, size_t blocks, Pass pass)
{
    if (threads <= 1)
        return pass(0, blocks);
    double worst[2] = {0.0, 0.0};
    fft::parallelFor(2, 2, [&](size_t job) { worst[job] = pass(blocks * job / 2, blocks * (job + 1) / 2); });
    return std::max(worst[0], worst[1]);
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
    // The shortest length whose average digit (q/L bits) the table allows
    // at that length; the widest digit stays below 24 bits, so that the
    // weighted digits and their products with a multiplySmall factor stay
    // exact.
    size_t length = fft::transformLengthAtLeast(std::max<size_t>(16, q / 24));
    for (;;) {
        double average = static_cast<double>(q) / static_cast<double>(length);
        if ((average <= fft::ibdwtBitsPerDigit(length, level) && average <= 23.0) || average <= 2.0)
            return length;
        length = fft::transformLengthAtLeast(length + 1);
    }
}

void MersenneArithmetic::configure()
{
    length_ = transformLengthFor(q_, level_);
    half_ = length_ / 2;
    tables_ = fft::IbdwtTables(q_, length_);
    transform_ = fft::ProductTransform(half_, threads_ > 1);
    product_ = fft::RealArray(length_);
    other_ = fft::RealArray(length_);
    result_ = fft::RealArray(length_);
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
    return static_cast<int64_t>(roundToInteger(reg[i] * tables_.inverseWeight(i)));
}

void MersenneArithmetic::carryFrom(fft::RealArray& reg, size_t from, int64_t carry) const
{
    size_t i = from;
    while (carry != 0) {
        int32_t digit = balance(digitAt(reg, i) + carry, tables_.width(i), carry);
        reg[i] = digit * tables_.weight(i);
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
        int width = tables_.width(i);
        int64_t v = static_cast<int64_t>(fft::readBits(limbs, count, tables_.position(i), width)) + carry;
        reg[i] = balance(v, width, carry) * tables_.weight(i);
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
    // Digits are near the balanced range, |d| < 2^width: the positive ones
    // and the negative ones each fill disjoint bit fields.
    for (size_t i = 0; i < length_; ++i) {
        int64_t d = digitAt(reg, i);
        if (d > 0)
            fft::orBits(plus, tables_.position(i), static_cast<uint64_t>(d));
        else if (d < 0)
            fft::orBits(minus, tables_.position(i), static_cast<uint64_t>(-d));
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

bool MersenneArithmetic::carryInto(const double* product, double multiplier)
{
    const fft::IbdwtShape& shape = tables_.shape();
    double worst = parallelPass(threads_, fft::passBlocks(length_), [&](size_t from, size_t to) {
        return fft::passes().carryWeighted(product, multiplier, result_.data(), shape, from, to);
    });
    if (worst > roundoffLimit_)
        return false;
    worstRoundoff_ = std::max(worstRoundoff_, worst);
    return true;
}

bool MersenneArithmetic::tryProduct(Register x, Register y)
{
    const fft::Passes& passes = fft::passes();
    const double scale = 1.0 / static_cast<double>(half_);
    // The registers stay as they are until the step is known to be sound.
    std::copy(registers_[x].data(), registers_[x].data() + length_, product_.data());
    if (y >= 0) {
        std::copy(registers_[y].data(), registers_[y].data() + length_, other_.data());
        transform_.forward(other_.data());
    }
    transform_.run(product_.data(), [&](const fft::SpectrumSection& s, double* values) {
        size_t blocks = fft::passBlocks((s.length - s.offset) / 2 + 1);
        if (y < 0)
            passes.squareCyclic(values, s.cyclicTwiddle, s.length, s.offset, scale, 0, blocks);
        else
            passes.multiplyCyclic(values, other_.data() + 2 * s.start, s.cyclicTwiddle, s.length, s.offset, scale, 0,
                                  blocks);
    });
    return carryInto(product_.data(), 1.0);
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
    const int widest = static_cast<int>((q_ + length_ - 1) / length_);
    if (widest + static_cast<int>(std::bit_width(c)) <= 51) {
        // The digits (below 3/4 of 2^widest) times c stay below 2^51:
        // exact, and carried like a product.
        double limit = roundoffLimit_;
        roundoffLimit_ = 0.5;  // only the unweighting's own rounding here
        bool done = carryInto(reg.data(), static_cast<double>(c));
        roundoffLimit_ = limit;
        assert(done);
        (void)done;
        std::swap(reg, result_);
        return;
    }
    // Wide digits (short numbers) and a large factor: in integers.
    int64_t carry = 0;
    for (size_t i = 0; i < length_; ++i)
        reg[i] = balance(digitAt(reg, i) * static_cast<int64_t>(c) + carry, tables_.width(i), carry) * tables_.weight(i);
    carryFrom(reg, 0, carry);
}

void MersenneArithmetic::addSmall(Register x, int64_t c) { carryFrom(registers_[x], 0, c); }

void MersenneArithmetic::corruptForTest(Register x)
{
    auto& reg = registers_[x];
    reg[0] = static_cast<double>(digitAt(reg, 0) ^ 1) * tables_.weight(0);
}

}  // namespace arithmetic
