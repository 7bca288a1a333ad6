// The loops of fft_passes.h, compiled once per instruction set: the file
// that includes it defines PASSES_NAMESPACE and PASSES_NAME first.
//
// Everything here has internal linkage and calls no out-of-line library
// code, so that no function compiled for AVX-512 can stand in for the
// plain set's at link time. Loops work on restrict pointers into small
// block buffers so that the compiler vectorises them.
#include <cstddef>
#include <cstdint>

#include "arithmetic/fft_passes.h"

namespace arithmetic::fft::PASSES_NAMESPACE {

namespace {

// Nearest integer of |v| < 2^51, rounding ties to even as the FPU does.
inline double roundToInteger(double v)
{
    constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
    return (v + kMagic) - kMagic;
}

inline double larger(double a, double b) { return a > b ? a : b; }
inline double magnitude(double v) { return __builtin_fabs(v); }
inline size_t smaller(size_t a, size_t b) { return a < b ? a : b; }

// A block and the positions below it that its carries depend on.
constexpr size_t kSpan = kPassBlock + kMaxCarryLevels;

// v[0 .. count): integers at consecutive positions. `levels` times
// splitting into digit + carry * base and adding each carry to the digit
// above; afterwards v[levels ..) are digits near the balanced range (see
// carryLevelsFor; v below is left partly carried: only its carries were
// wanted).
inline void carryLevels(double* __restrict v, double* __restrict carry, size_t count, size_t levels, double base,
                        double inverseBase)
{
    for (size_t level = 0; level < levels; ++level) {
        for (size_t k = level; k < count; ++k) {
            double c = roundToInteger(v[k] * inverseBase);
            carry[k] = c;
            v[k] -= c * base;
        }
        for (size_t k = level + 1; k < count; ++k)
            v[k] += carry[k - 1];
    }
}

// The same with a base per position.
inline void carryLevels(double* __restrict v, double* __restrict carry, size_t count, size_t levels,
                        const double* __restrict base, const double* __restrict inverseBase)
{
    for (size_t level = 0; level < levels; ++level) {
        for (size_t k = level; k < count; ++k) {
            double c = roundToInteger(v[k] * inverseBase[k]);
            carry[k] = c;
            v[k] -= c * base[k];
        }
        for (size_t k = level + 1; k < count; ++k)
            v[k] += carry[k - 1];
    }
}

inline void tableAt(const TwoLevelTable& table, size_t j, double& re, double& im)
{
    const double* c = table.coarse + 2 * (j / kPassBlock);
    const double* f = table.fine + 2 * (j % kPassBlock);
    re = c[0] * f[0] - c[1] * f[1];
    im = c[0] * f[1] + c[1] * f[0];
}

// The values of table block `block`, first `count` of them.
inline void tableBlock(const TwoLevelTable& table, size_t block, size_t count, double* __restrict re,
                       double* __restrict im)
{
    const double cr = table.coarse[2 * block], ci = table.coarse[2 * block + 1];
    const double* __restrict fine = table.fine;
    for (size_t k = 0; k < count; ++k) {
        re[k] = cr * fine[2 * k] - ci * fine[2 * k + 1];
        im[k] = cr * fine[2 * k + 1] + ci * fine[2 * k];
    }
}

// ---- cyclic products in the packed layout ----
//
// z = Z_k, the transform of the H complex values x_2j + i x_2j+1. With
// P = conj(Z_(H-k)): E = (Z + P) / 2 and O = -i (Z - P) / 2 are the
// transforms of the even and the odd positions, and the product's are
// E_c = E_a E_b + t O_a O_b, O_c = E_a O_b + O_a E_b (t = exp(-2 pi i k / H));
// Z_c(k) = E_c + i O_c and Z_c(H-k) = conj(E_c) + i conj(O_c).

struct Pair {
    double er, ei, or_, oi;
};

inline Pair untangle(double zr, double zi, double pr, double pi)
{
    // P is conj(Z_(H-k)): pr, pi are that conjugate's parts.
    return {0.5 * (zr + pr), 0.5 * (zi + pi), 0.5 * (zi - pi), -0.5 * (zr - pr)};
}

// Writes Z_c(k) to lowOut and Z_c(H-k) to highOut.
inline void tangle(double ecr, double eci, double ocr, double oci, double scale, double& lowRe, double& lowIm,
                   double& highRe, double& highIm)
{
    lowRe = (ecr - oci) * scale;
    lowIm = (eci + ocr) * scale;
    highRe = (ecr + oci) * scale;
    highIm = (ocr - eci) * scale;
}

// A section of a spectrum: z[m] = Z_k with k = stride m + offset (the whole
// spectrum: stride 1, offset 0; its halves after a split: stride 2, offset 0
// and 1). The partner of k, H - k, sits at m' = (G - offset - m) mod G, G
// the section's length; `twiddle` holds exp(-2 pi i k / H) by m.

// One pair (m, m') by scalar code: the self-paired ones and anything
// outside the vector loop.
inline void cyclicPair(double* z, const double* other, const TwoLevelTable& twiddle, size_t length, size_t offset,
                       size_t m, double scale)
{
    size_t partner = (length - offset - m) % length;
    double tr, ti;
    tableAt(twiddle, m, tr, ti);
    Pair a = untangle(z[2 * m], z[2 * m + 1], z[2 * partner], -z[2 * partner + 1]);
    Pair b = other ? untangle(other[2 * m], other[2 * m + 1], other[2 * partner], -other[2 * partner + 1]) : a;
    double oor = a.or_ * b.or_ - a.oi * b.oi, ooi = a.or_ * b.oi + a.oi * b.or_;
    double ecr = a.er * b.er - a.ei * b.ei + (tr * oor - ti * ooi);
    double eci = a.er * b.ei + a.ei * b.er + (tr * ooi + ti * oor);
    double ocr = a.er * b.or_ - a.ei * b.oi + (a.or_ * b.er - a.oi * b.ei);
    double oci = a.er * b.oi + a.ei * b.or_ + (a.or_ * b.ei + a.oi * b.er);
    double lr, li, hr, hi;
    tangle(ecr, eci, ocr, oci, scale, lr, li, hr, hi);
    z[2 * m] = lr;
    z[2 * m + 1] = li;
    if (partner != m) {
        z[2 * partner] = hr;
        z[2 * partner + 1] = hi;
    }
}

// The regular pairs m in [from, to) (m < m') of z and other (null: a
// square), through block buffers so that the loop vectorises.
inline void cyclicPairs(double* z, const double* other, const TwoLevelTable& twiddle, size_t length, size_t offset,
                        size_t block, size_t from, size_t to, double scale)
{
    alignas(64) double lowRe[kPassBlock], lowIm[kPassBlock], highRe[kPassBlock], highIm[kPassBlock];
    alignas(64) double otherLowRe[kPassBlock], otherLowIm[kPassBlock], otherHighRe[kPassBlock],
        otherHighIm[kPassBlock];
    alignas(64) double tr[kPassBlock], ti[kPassBlock];
    alignas(64) double resultLowRe[kPassBlock], resultLowIm[kPassBlock], resultHighRe[kPassBlock],
        resultHighIm[kPassBlock];
    const size_t count = to - from;
    const size_t first = from - block * kPassBlock;
    const size_t sum = length - offset;  // m + m'
    tableBlock(twiddle, block, first + count, tr, ti);
    for (size_t i = 0; i < count; ++i) {
        size_t m = from + i;
        lowRe[i] = z[2 * m];
        lowIm[i] = z[2 * m + 1];
        highRe[i] = z[2 * (sum - m)];
        highIm[i] = -z[2 * (sum - m) + 1];
    }
    if (other) {
        for (size_t i = 0; i < count; ++i) {
            size_t m = from + i;
            otherLowRe[i] = other[2 * m];
            otherLowIm[i] = other[2 * m + 1];
            otherHighRe[i] = other[2 * (sum - m)];
            otherHighIm[i] = -other[2 * (sum - m) + 1];
        }
    }
    const double* __restrict aLowRe = lowRe;
    const double* __restrict aLowIm = lowIm;
    const double* __restrict aHighRe = highRe;
    const double* __restrict aHighIm = highIm;
    const double* __restrict bLowRe = other ? otherLowRe : lowRe;
    const double* __restrict bLowIm = other ? otherLowIm : lowIm;
    const double* __restrict bHighRe = other ? otherHighRe : highRe;
    const double* __restrict bHighIm = other ? otherHighIm : highIm;
    const double* __restrict twRe = tr + first;
    const double* __restrict twIm = ti + first;
    double* __restrict outLowRe = resultLowRe;
    double* __restrict outLowIm = resultLowIm;
    double* __restrict outHighRe = resultHighRe;
    double* __restrict outHighIm = resultHighIm;
    for (size_t i = 0; i < count; ++i) {
        double aer = 0.5 * (aLowRe[i] + aHighRe[i]), aei = 0.5 * (aLowIm[i] + aHighIm[i]);
        double aor = 0.5 * (aLowIm[i] - aHighIm[i]), aoi = -0.5 * (aLowRe[i] - aHighRe[i]);
        double ber = 0.5 * (bLowRe[i] + bHighRe[i]), bei = 0.5 * (bLowIm[i] + bHighIm[i]);
        double bor = 0.5 * (bLowIm[i] - bHighIm[i]), boi = -0.5 * (bLowRe[i] - bHighRe[i]);
        double oor = aor * bor - aoi * boi, ooi = aor * boi + aoi * bor;
        double ecr = aer * ber - aei * bei + (twRe[i] * oor - twIm[i] * ooi);
        double eci = aer * bei + aei * ber + (twRe[i] * ooi + twIm[i] * oor);
        double ocr = aer * bor - aei * boi + (aor * ber - aoi * bei);
        double oci = aer * boi + aei * bor + (aor * bei + aoi * ber);
        outLowRe[i] = (ecr - oci) * scale;
        outLowIm[i] = (eci + ocr) * scale;
        outHighRe[i] = (ecr + oci) * scale;
        outHighIm[i] = (ocr - eci) * scale;
    }
    for (size_t i = 0; i < count; ++i) {
        size_t m = from + i;
        z[2 * m] = resultLowRe[i];
        z[2 * m + 1] = resultLowIm[i];
        z[2 * (sum - m)] = resultHighRe[i];
        z[2 * (sum - m) + 1] = resultHighIm[i];
    }
}

void cyclicProduct(double* z, const double* other, const TwoLevelTable& twiddle, size_t length, size_t offset,
                   double scale, size_t fromBlock, size_t toBlock)
{
    const size_t pairs = (length - offset) / 2 + 1;           // m = 0 .. (G - offset) / 2
    const size_t regularFrom = offset == 0 ? 1 : 0;          // m = 0 pairs with itself
    const size_t regularEnd = (length - offset + 1) / 2;     // m < m'
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t last = smaller(first + kPassBlock, pairs);
        const size_t vectorFrom = first < regularFrom ? regularFrom : first;
        const size_t vectorTo = smaller(last, regularEnd);
        for (size_t m = first; m < smaller(last, regularFrom); ++m)
            cyclicPair(z, other, twiddle, length, offset, m, scale);
        if (vectorFrom < vectorTo)
            cyclicPairs(z, other, twiddle, length, offset, block, vectorFrom, vectorTo, scale);
        for (size_t m = first < regularEnd ? regularEnd : first; m < last; ++m)
            cyclicPair(z, other, twiddle, length, offset, m, scale);
    }
}

void squareCyclic(double* z, const TwoLevelTable& twiddle, size_t length, size_t offset, double scale,
                  size_t fromBlock, size_t toBlock)
{
    cyclicProduct(z, nullptr, twiddle, length, offset, scale, fromBlock, toBlock);
}

void multiplyCyclic(double* z, const double* other, const TwoLevelTable& twiddle, size_t length, size_t offset,
                    double scale, size_t fromBlock, size_t toBlock)
{
    cyclicProduct(z, other, twiddle, length, offset, scale, fromBlock, toBlock);
}

// ---- a transform split into two halves ----

void splitStage(double* __restrict z, const TwoLevelTable& twiddle, size_t half, size_t fromBlock, size_t toBlock)
{
    alignas(64) double wr[kPassBlock], wi[kPassBlock];
    double* __restrict low = z;
    double* __restrict high = z + 2 * half;
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t count = smaller(kPassBlock, half - first);
        tableBlock(twiddle, block, count, wr, wi);
        double* __restrict a = low + 2 * first;
        double* __restrict b = high + 2 * first;
        for (size_t k = 0; k < count; ++k) {
            double ar = a[2 * k], ai = a[2 * k + 1], br = b[2 * k], bi = b[2 * k + 1];
            double dr = ar - br, di = ai - bi;
            a[2 * k] = ar + br;
            a[2 * k + 1] = ai + bi;
            b[2 * k] = dr * wr[k] - di * wi[k];
            b[2 * k + 1] = dr * wi[k] + di * wr[k];
        }
    }
}

void joinStage(double* __restrict z, const TwoLevelTable& twiddle, size_t half, size_t fromBlock, size_t toBlock)
{
    alignas(64) double wr[kPassBlock], wi[kPassBlock];
    double* __restrict low = z;
    double* __restrict high = z + 2 * half;
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t count = smaller(kPassBlock, half - first);
        tableBlock(twiddle, block, count, wr, wi);
        double* __restrict a = low + 2 * first;
        double* __restrict b = high + 2 * first;
        for (size_t k = 0; k < count; ++k) {
            double br = b[2 * k] * wr[k] + b[2 * k + 1] * wi[k];  // times conj(w^j)
            double bi = b[2 * k + 1] * wr[k] - b[2 * k] * wi[k];
            double ar = a[2 * k], ai = a[2 * k + 1];
            a[2 * k] = ar + br;
            a[2 * k + 1] = ai + bi;
            b[2 * k] = ar - br;
            b[2 * k + 1] = ai - bi;
        }
    }
}

// ---- negacyclic products ----

void squareSpectrum(double* __restrict z, double scale, size_t half, size_t fromBlock, size_t toBlock)
{
    size_t from = fromBlock * kPassBlock, to = smaller(toBlock * kPassBlock, half);
    for (size_t k = from; k < to; ++k) {
        double re = z[2 * k], im = z[2 * k + 1];
        z[2 * k] = (re * re - im * im) * scale;
        z[2 * k + 1] = 2.0 * re * im * scale;
    }
}

void multiplySpectrum(double* __restrict z, const double* __restrict other, double scale, size_t half,
                      size_t fromBlock, size_t toBlock)
{
    size_t from = fromBlock * kPassBlock, to = smaller(toBlock * kPassBlock, half);
    for (size_t k = from; k < to; ++k) {
        double ar = z[2 * k], ai = z[2 * k + 1], br = other[2 * k], bi = other[2 * k + 1];
        z[2 * k] = (ar * br - ai * bi) * scale;
        z[2 * k + 1] = (ar * bi + ai * br) * scale;
    }
}

void loadNegacyclic(const double* __restrict x, double* __restrict z, const TwoLevelTable& weight, size_t half,
                    size_t fromBlock, size_t toBlock)
{
    alignas(64) double wr[kPassBlock], wi[kPassBlock];
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t count = smaller(kPassBlock, half - first);
        tableBlock(weight, block, count, wr, wi);
        const double* __restrict low = x + first;
        const double* __restrict high = x + half + first;
        double* __restrict out = z + 2 * first;
        for (size_t k = 0; k < count; ++k) {
            out[2 * k] = low[k] * wr[k] - high[k] * wi[k];
            out[2 * k + 1] = low[k] * wi[k] + high[k] * wr[k];
        }
    }
}

// ---- carries ----

double carryCyclic(const double* __restrict coefficients, double multiplier, const double* __restrict addend,
                   double* __restrict digits, const DigitShape& shape, size_t fromBlock, size_t toBlock)
{
    const size_t length = shape.length;
    const size_t halo = shape.carryLevels;
    alignas(64) double v[kSpan], carry[kSpan];
    double worst = 0.0;
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t count = smaller(kPassBlock, length - first);
        for (size_t h = 0; h < halo; ++h) {  // below the block; position -1 is M - 1 (2^(bM) = 1)
            size_t position = (first + length + h - halo) % length;
            v[h] = roundToInteger(coefficients[position]) * multiplier + (addend ? addend[position] : 0.0);
        }
        const double* __restrict in = coefficients + first;
        double* __restrict body = v + halo;
        for (size_t k = 0; k < count; ++k) {
            double rounded = roundToInteger(in[k]);
            worst = larger(worst, magnitude(in[k] - rounded));
            body[k] = rounded * multiplier;
        }
        if (addend) {
            const double* __restrict add = addend + first;
            for (size_t k = 0; k < count; ++k)
                body[k] += add[k];
        }
        carryLevels(v, carry, count + halo, halo, shape.base, shape.inverseBase);
        double* __restrict out = digits + first;
        for (size_t k = 0; k < count; ++k)
            out[k] = body[k];
    }
    return worst;
}

// Unweighted rounded values of z_j: the positions j and j + H.
inline void unweightAt(const double* z, const TwoLevelTable& weight, size_t j, double& low, double& high)
{
    double wr, wi;
    tableAt(weight, j, wr, wi);
    double re = z[2 * j], im = z[2 * j + 1];
    low = roundToInteger(re * wr + im * wi);
    high = roundToInteger(im * wr - re * wi);
}

double carryNegacyclic(const double* __restrict z, const TwoLevelTable& weight, const DigitShape& shape,
                       double* __restrict digits, double* __restrict weighted, size_t fromBlock, size_t toBlock)
{
    const size_t half = shape.length / 2;
    const size_t halo = shape.carryLevels;
    alignas(64) double low[kSpan], high[kSpan], carry[kSpan], wr[kPassBlock], wi[kPassBlock];
    double worst = 0.0;
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t count = smaller(kPassBlock, half - first);
        // Below position j of the low half is j - 1; below position 0 is
        // M - 1, the top of the high half, negated (2^(bM) = -1); below
        // position H, the bottom of the high half, is H - 1.
        for (size_t h = 0; h < halo; ++h) {
            if (first + h >= halo) {
                unweightAt(z, weight, first + h - halo, low[h], high[h]);
            } else {
                double l, u;
                unweightAt(z, weight, half + first + h - halo, l, u);
                low[h] = -u;
                high[h] = l;
            }
        }
        tableBlock(weight, block, count, wr, wi);
        const double* __restrict in = z + 2 * first;
        double* __restrict lowBody = low + halo;
        double* __restrict highBody = high + halo;
        for (size_t k = 0; k < count; ++k) {
            double re = in[2 * k], im = in[2 * k + 1];
            double l = re * wr[k] + im * wi[k];
            double u = im * wr[k] - re * wi[k];
            double lr = roundToInteger(l), ur = roundToInteger(u);
            worst = larger(worst, larger(magnitude(l - lr), magnitude(u - ur)));
            lowBody[k] = lr;
            highBody[k] = ur;
        }
        carryLevels(low, carry, count + halo, halo, shape.base, shape.inverseBase);
        carryLevels(high, carry, count + halo, halo, shape.base, shape.inverseBase);
        if (weighted) {
            double* __restrict out = weighted + 2 * first;
            for (size_t k = 0; k < count; ++k) {
                out[2 * k] = lowBody[k] * wr[k] - highBody[k] * wi[k];
                out[2 * k + 1] = lowBody[k] * wi[k] + highBody[k] * wr[k];
            }
        } else {
            double* __restrict outLow = digits + first;
            double* __restrict outHigh = digits + half + first;
            for (size_t k = 0; k < count; ++k) {
                outLow[k] = lowBody[k];
                outHigh[k] = highBody[k];
            }
        }
    }
    return worst;
}

// Weight, inverse weight and digit size of the positions first .. first +
// count - 1 (within one block of the tables).
inline void ibdwtBlock(const IbdwtShape& shape, size_t first, size_t count, double* __restrict weight,
                       double* __restrict inverse, double* __restrict base, double* __restrict inverseBase)
{
    const size_t block = first / kPassBlock;
    const size_t offset = first % kPassBlock;
    const int64_t rest = shape.coarseRest[block];
    const int64_t length = static_cast<int64_t>(shape.length);
    const double cw = shape.coarseWeight[block], ci = shape.coarseInverse[block];
    const double narrow = static_cast<double>(int64_t(1) << shape.narrowBits);
    const double narrowInverse = 1.0 / narrow;
    const int64_t* __restrict fineRest = shape.fineRest + offset;
    const double* __restrict fineWeight = shape.fineWeight + offset;
    const double* __restrict fineInverse = shape.fineInverse + offset;
    for (size_t k = 0; k < count; ++k) {
        int64_t r = rest + fineRest[k];
        bool wrapped = r >= length;
        r = wrapped ? r - length : r;
        bool wide = r < shape.qModLength;
        weight[k] = cw * fineWeight[k] * (wrapped ? 0.5 : 1.0);
        inverse[k] = ci * fineInverse[k] * (wrapped ? 2.0 : 1.0);
        base[k] = wide ? 2.0 * narrow : narrow;
        inverseBase[k] = wide ? 0.5 * narrowInverse : narrowInverse;
    }
}

double carryWeighted(const double* __restrict product, double multiplier, double* __restrict out,
                     const IbdwtShape& shape, size_t fromBlock, size_t toBlock)
{
    const size_t length = shape.length;
    const size_t halo = shape.carryLevels;
    alignas(64) double v[kSpan], carry[kSpan], weight[kSpan], inverse[kSpan], base[kSpan], inverseBase[kSpan];
    double worst = 0.0;
    for (size_t block = fromBlock; block < toBlock; ++block) {
        const size_t first = block * kPassBlock;
        const size_t count = smaller(kPassBlock, length - first);
        for (size_t h = 0; h < halo; ++h) {  // below the block; below digit 0 is digit L - 1 (2^q = 1)
            size_t position = (first + length + h - halo) % length;
            ibdwtBlock(shape, position, 1, weight + h, inverse + h, base + h, inverseBase + h);
            v[h] = roundToInteger(product[position] * inverse[h]) * multiplier;
        }
        ibdwtBlock(shape, first, count, weight + halo, inverse + halo, base + halo, inverseBase + halo);
        const double* __restrict in = product + first;
        const double* __restrict unweight = inverse + halo;
        double* __restrict body = v + halo;
        for (size_t k = 0; k < count; ++k) {
            double value = in[k] * unweight[k];
            double rounded = roundToInteger(value);
            worst = larger(worst, magnitude(value - rounded));
            body[k] = rounded * multiplier;
        }
        carryLevels(v, carry, count + halo, halo, base, inverseBase);
        const double* __restrict reweight = weight + halo;
        double* __restrict result = out + first;
        for (size_t k = 0; k < count; ++k)
            result[k] = body[k] * reweight[k];
    }
    return worst;
}

}  // namespace

extern const Passes kPasses;
const Passes kPasses = {
    PASSES_NAME,      squareCyclic, multiplyCyclic,  splitStage,      joinStage,
    squareSpectrum,   multiplySpectrum, loadNegacyclic, carryCyclic, carryNegacyclic, carryWeighted,
};

}  // namespace arithmetic::fft::PASSES_NAMESPACE
