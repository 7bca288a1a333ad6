#include "arithmetic/ifma_montgomery.h"

#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>

#include "arithmetic/big_integer.h"

namespace arithmetic {

namespace {

constexpr unsigned kLimbBits = 52;
constexpr uint64_t kLimbMask = (uint64_t{1} << kLimbBits) - 1;
// Zero limbs on each side of an operand: the column loop reads whole blocks
// of 32 limbs starting up to 32 limbs before it and ending 31 after it.
constexpr size_t kPad = 40;
constexpr size_t kBlock = 32;
// Measured with bench_next_prime --ifma (processor time per bit of a
// powering of 2, one thread, best of three): against a long mpz_powm 0.99x
// at 1,000 bits, 1.24x at 1,100, 1.59x at 1,500, 1.95x at 2,000, 2.9x at
// 3,322, 2.7x at 6,644, 2.2x at 10,000, 2.1x at 20,000; against the FFT
// registers on one thread 1.8x at 10,000 bits, 1.5x at 16,610, 1.0x at
// 20,000, 0.79x at 33,219.
constexpr size_t kMinimumBits = 1100;
// From this many limbs a square makes each cross product once (same bench,
// both ways in one process, best of 15): 0.88x at 1,100 bits, 0.99x at
// 3,322, 1.06x at 6,644, 1.10x at 10,000, 1.16x at 20,000. Below it the
// masked rows near the diagonal cost more than the products they save.
constexpr size_t kSquaringFromLimbs = 128;
constexpr size_t kMaximumBits = 20000;

std::atomic<bool>& allowedFlag()
{
    static std::atomic<bool> allowed{true};
    return allowed;
}

size_t roundUp(size_t x, size_t multiple) { return (x + multiple - 1) / multiple * multiple; }

// cols[c] for c < end (rounded up to whole blocks): the sum of the low 52
// bits of a[i]*b[j] over i + j = c and of the high 52 bits over
// i + j + 1 = c. a and b point at K limbs with kPad zeros on each side.
// Each block of 32 columns runs i downwards, so that the vector of b the high
// products of a[i] need is the one the low products of a[i + 1] loaded.
__attribute__((target("avx512f,avx512ifma"))) void columnSums(const uint64_t* a, const uint64_t* b, size_t k,
                                                                uint64_t* cols, size_t end)
{
    const long limbs = static_cast<long>(k);
    for (long c = 0; c < static_cast<long>(end); c += kBlock) {
        __m512i lo0 = _mm512_setzero_si512(), lo1 = lo0, lo2 = lo0, lo3 = lo0;
        __m512i hi0 = lo0, hi1 = lo0, hi2 = lo0, hi3 = lo0;
        const long iLow = std::max(0L, c - limbs);
        const long iHigh = std::min(limbs - 1, c + static_cast<long>(kBlock) - 1);
        const uint64_t* row = b + c - iHigh - 1;
        __m512i v0 = _mm512_loadu_si512(row), v1 = _mm512_loadu_si512(row + 8);
        __m512i v2 = _mm512_loadu_si512(row + 16), v3 = _mm512_loadu_si512(row + 24);
        for (long i = iHigh; i >= iLow; --i) {
            const __m512i ai = _mm512_set1_epi64(static_cast<long long>(a[i]));
            hi0 = _mm512_madd52hi_epu64(hi0, ai, v0);
            hi1 = _mm512_madd52hi_epu64(hi1, ai, v1);
            hi2 = _mm512_madd52hi_epu64(hi2, ai, v2);
            hi3 = _mm512_madd52hi_epu64(hi3, ai, v3);
            row = b + c - i;
            v0 = _mm512_loadu_si512(row);
            v1 = _mm512_loadu_si512(row + 8);
            v2 = _mm512_loadu_si512(row + 16);
            v3 = _mm512_loadu_si512(row + 24);
            lo0 = _mm512_madd52lo_epu64(lo0, ai, v0);
            lo1 = _mm512_madd52lo_epu64(lo1, ai, v1);
            lo2 = _mm512_madd52lo_epu64(lo2, ai, v2);
            lo3 = _mm512_madd52lo_epu64(lo3, ai, v3);
        }
        _mm512_storeu_si512(cols + c, _mm512_add_epi64(lo0, hi0));
        _mm512_storeu_si512(cols + c + 8, _mm512_add_epi64(lo1, hi1));
        _mm512_storeu_si512(cols + c + 16, _mm512_add_epi64(lo2, hi2));
        _mm512_storeu_si512(cols + c + 24, _mm512_add_epi64(lo3, hi3));
    }
}

// The column sums of a*a (as columnSums(a, a)) with each product a[i]*a[j],
// i != j, made once and doubled: about half the instructions. For row i the
// low product goes to column i + j and counts where that exceeds 2i, the
// high one to i + j + 1 where that exceeds 2i + 1; rows near a block's
// diagonal take those lanes by mask. The squares a[i]^2 are added after.
__attribute__((target("avx512f,avx512ifma"))) void squareColumnSums(const uint64_t* a, size_t k, uint64_t* cols,
                                                                      size_t end)
{
    const long limbs = static_cast<long>(k);
    auto lanesAbove = [](long d) -> __mmask8 {  // lanes l with l > d
        return d < 0 ? __mmask8(0xFF) : d >= 7 ? __mmask8(0) : __mmask8((0xFF << (d + 1)) & 0xFF);
    };
    for (long c = 0; c < static_cast<long>(end); c += kBlock) {
        const __m512i zero = _mm512_setzero_si512();
        __m512i lo[4] = {zero, zero, zero, zero}, hi[4] = {zero, zero, zero, zero}, v[4] = {zero, zero, zero, zero};
        const long iLow = std::max(0L, c - limbs);
        const long iHigh = std::min(limbs - 1, (c + static_cast<long>(kBlock) - 2) / 2);
        if (iHigh >= iLow) {
            const uint64_t* row = a + c - iHigh - 1;
            for (int q = 0; q < 4; ++q)
                v[q] = _mm512_loadu_si512(row + 8 * q);
            // Rows whose diagonal falls inside the block: masks.
            long i = iHigh;
            for (; i >= iLow && 2 * i + 1 >= c; --i) {
                const __m512i ai = _mm512_set1_epi64(static_cast<long long>(a[i]));
                for (int q = 0; q < 4; ++q)
                    hi[q] = _mm512_mask_madd52hi_epu64(hi[q], lanesAbove(2 * i + 1 - c - 8 * q), ai, v[q]);
                row = a + c - i;
                for (int q = 0; q < 4; ++q) {
                    v[q] = _mm512_loadu_si512(row + 8 * q);
                    lo[q] = _mm512_mask_madd52lo_epu64(lo[q], lanesAbove(2 * i - c - 8 * q), ai, v[q]);
                }
            }
            for (; i >= iLow; --i) {
                const __m512i ai = _mm512_set1_epi64(static_cast<long long>(a[i]));
                for (int q = 0; q < 4; ++q)
                    hi[q] = _mm512_madd52hi_epu64(hi[q], ai, v[q]);
                row = a + c - i;
                for (int q = 0; q < 4; ++q) {
                    v[q] = _mm512_loadu_si512(row + 8 * q);
                    lo[q] = _mm512_madd52lo_epu64(lo[q], ai, v[q]);
                }
            }
        }
        for (int q = 0; q < 4; ++q) {
            const __m512i sum = _mm512_add_epi64(lo[q], hi[q]);
            _mm512_storeu_si512(cols + c + 8 * q, _mm512_add_epi64(sum, sum));
        }
    }
    for (size_t i = 0; i < k; ++i) {
        const unsigned __int128 square = static_cast<unsigned __int128>(a[i]) * a[i];
        cols[2 * i] += static_cast<uint64_t>(square) & kLimbMask;
        cols[2 * i + 1] += static_cast<uint64_t>(square >> kLimbBits);
    }
}

// out[c] = limbs of the sum of cols[c] (plus add[c]) over c < count, carried;
// the carry out of the top is dropped (callers know it is zero, or want the
// sum modulo 2^(52 count)).
void carry(const uint64_t* cols, const uint64_t* add, size_t count, uint64_t* out)
{
    uint64_t carried = 0;
    for (size_t c = 0; c < count; ++c) {
        const uint64_t v = cols[c] + carried + (add ? add[c] : 0);
        out[c] = v & kLimbMask;
        carried = v >> kLimbBits;
    }
}

// Compares limbs from the top.
int compareLimbs(const uint64_t* x, const uint64_t* y, size_t k)
{
    for (size_t i = k; i-- > 0;)
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    return 0;
}

}  // namespace

bool ifmaAvailable()
{
    static const bool hasIfma = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512ifma");
    return hasIfma && allowedFlag().load(std::memory_order_relaxed);
}

void allowIfma(bool allowed) { allowedFlag() = allowed; }

size_t ifmaMinimumBits() { return kMinimumBits; }

size_t ifmaMaximumBits() { return kMaximumBits; }

IfmaMontgomery::IfmaMontgomery(mpz_srcptr n)
    : limbs_((mpz_sizeinbase(n, 2) + 4 + kLimbBits - 1) / kLimbBits),
      columnsPadded_(roundUp(2 * limbs_, kBlock) + kBlock)
{
    assert(mpz_odd_p(n) && mpz_cmp_ui(n, 3) >= 0 && mpz_sizeinbase(n, 2) <= kMaximumBits && ifmaAvailable() &&
           "IfmaMontgomery takes an odd n of its sizes on a processor with IFMA");
    n_ = paddedLimbs();
    nPrime_ = paddedLimbs();
    x_ = paddedLimbs();
    scratch_ = paddedLimbs();
    low_ = paddedLimbs();
    one_ = paddedLimbs();
    minusOne_ = paddedLimbs();
    unit_ = paddedLimbs();
    product_.assign(2 * limbs_ + 2 * kPad, 0);
    columns_.assign(columnsPadded_, 0);

    mpz_set(modulus_.get(), n);
    BigInt r, value;
    mpz_setbit(r.get(), kLimbBits * limbs_);
    setLimbs(n_, n);
    mpz_invert(value.get(), n, r.get());
    mpz_sub(value.get(), r.get(), value.get());
    setLimbs(nPrime_, value.get());
    mpz_mod(value.get(), r.get(), n);
    setLimbs(one_, value.get());
    mpz_sub(value.get(), n, value.get());
    setLimbs(minusOne_, value.get());
    at(unit_)[0] = 1;
}

IfmaMontgomery::Limbs IfmaMontgomery::paddedLimbs() const { return Limbs(limbs_ + 2 * kPad, 0); }

uint64_t* IfmaMontgomery::at(Limbs& padded) const { return padded.data() + kPad; }

const uint64_t* IfmaMontgomery::at(const Limbs& padded) const { return padded.data() + kPad; }

void IfmaMontgomery::setLimbs(Limbs& padded, mpz_srcptr value) const
{
    uint64_t* limbs = at(padded);
    const size_t words = mpz_size(value);
    for (size_t i = 0; i < limbs_; ++i) {
        const size_t bit = kLimbBits * i, word = bit / 64, shift = bit % 64;
        uint64_t v = word < words ? mpz_getlimbn(value, static_cast<mp_size_t>(word)) >> shift : 0;
        if (shift > 64 - kLimbBits && word + 1 < words)
            v |= mpz_getlimbn(value, static_cast<mp_size_t>(word + 1)) << (64 - shift);
        limbs[i] = v & kLimbMask;
    }
}

void IfmaMontgomery::multiply(Limbs& x, const Limbs& y)
{
    const size_t k = limbs_;
    uint64_t* product = product_.data() + kPad;
    if (&x == &y && k >= kSquaringFromLimbs)
        squareColumnSums(at(x), k, columns_.data(), 2 * k);
    else
        columnSums(at(x), at(y), k, columns_.data(), 2 * k);
    carry(columns_.data(), nullptr, 2 * k, product);
    columnSums(product, at(nPrime_), k, columns_.data(), k);
    carry(columns_.data(), nullptr, k, at(low_));
    columnSums(at(low_), at(n_), k, columns_.data(), 2 * k);
    carry(columns_.data(), product, 2 * k, columns_.data());
    std::memcpy(at(x), columns_.data() + k, k * sizeof(uint64_t));
}

void IfmaMontgomery::doubleIt(Limbs& x) const
{
    uint64_t* limbs = at(x);
    uint64_t carried = 0;
    for (size_t i = 0; i < limbs_; ++i) {
        const uint64_t v = (limbs[i] << 1) + carried;
        limbs[i] = v & kLimbMask;
        carried = v >> kLimbBits;
    }
}

void IfmaMontgomery::reduceFully(Limbs& x) const
{
    uint64_t* limbs = at(x);
    const uint64_t* n = at(n_);
    while (compareLimbs(limbs, n, limbs_) >= 0) {
        uint64_t borrow = 0;
        for (size_t i = 0; i < limbs_; ++i) {
            const uint64_t v = limbs[i] - n[i] - borrow;
            limbs[i] = v & kLimbMask;
            borrow = v >> 63;
        }
    }
}

bool IfmaMontgomery::fullyReducedEquals(const Limbs& montgomeryValue)
{
    std::memcpy(at(scratch_), at(x_), limbs_ * sizeof(uint64_t));
    reduceFully(scratch_);
    return compareLimbs(at(scratch_), at(montgomeryValue), limbs_) == 0;
}

void IfmaMontgomery::power(unsigned long base, mpz_srcptr exponent)
{
    assert(mpz_sgn(exponent) > 0 && "a positive exponent");
    BigInt value(base);
    mpz_mul_2exp(value.get(), value.get(), kLimbBits * limbs_);
    mpz_mod(value.get(), value.get(), modulus_.get());
    setLimbs(x_, value.get());
    const Limbs baseForm = x_;
    for (size_t bit = mpz_sizeinbase(exponent, 2) - 1; bit-- > 0;) {
        multiply(x_, x_);
        if (mpz_tstbit(exponent, bit)) {
            if (base == 2)
                doubleIt(x_);
            else
                multiply(x_, baseForm);
        }
    }
}

void IfmaMontgomery::square() { multiply(x_, x_); }

bool IfmaMontgomery::isOne() { return fullyReducedEquals(one_); }

bool IfmaMontgomery::isMinusOne() { return fullyReducedEquals(minusOne_); }

void IfmaMontgomery::get(mpz_ptr value)
{
    std::memcpy(at(scratch_), at(x_), limbs_ * sizeof(uint64_t));
    multiply(scratch_, unit_);
    reduceFully(scratch_);
    mpz_set_ui(value, 0);
    const uint64_t* limbs = at(scratch_);
    for (size_t i = limbs_; i-- > 0;) {
        mpz_mul_2exp(value, value, kLimbBits);
        mpz_add_ui(value, value, limbs[i]);
    }
}

}  // namespace arithmetic
