#pragma once
// The passes over memory around the transforms: the pointwise products,
// the loading of a transform's input and the rounding, round-off check and
// carries that turn a product's coefficients back into digits, each in one
// pass over its arrays.
//
// Every transform is a complex one of length H = M/2 (FFTW's complex
// transforms are faster than its real ones of twice the length here):
//  - a cyclic product of length M (modulo 2^(bM) - 1, or 2^q - 1 for the
//    IBDWT) transforms its M real digits as H complex values (positions 2j
//    and 2j + 1 as real and imaginary part, so the digit array itself is
//    the input); the spectrum of the real sequence is untangled from it,
//    multiplied and tangled again in one pass over pairs (k, H - k);
//  - a negacyclic product of length M (modulo 2^(bM) + 1) is the
//    right-angle convolution: positions j and j + H become the real and
//    imaginary part of z_j = (a_j + i a_(j+H)) w^j, w = exp(i pi / M).
//
// Carries without a serial chain: every value is split into a balanced
// digit and a carry at once, each digit gets the carry of the one below
// (the top one's goes round to digit 0, negated for a negacyclic product)
// and is split again; carryLevelsFor(b) such levels take any value below
// 2^52 down to digits near the balanced range. A pass works
// block by block (kPassBlock positions, its scratch in the first-level
// cache) and reads the few positions below a block again, so that blocks
// do not depend on each other and a pass splits across threads anywhere.
// All in doubles, exactly (integers below 2^52), and vectorised.
//
// Each pass exists twice, compiled for AVX-512 and for any x86-64, with the
// same arithmetic: the results are the same integers. The AVX-512 set is
// used when the processor has it, unless QUENDROLT_FFT_PLAIN=1 is in the
// environment (or a test calls usePlainPasses).
#include <cstddef>
#include <cstdint>

namespace arithmetic::fft {

constexpr size_t kPassBlock = 256;

// Carry levels for digits of b bits: enough that a value below 2^52 ends
// in digits below 3/4 of 2^b in size (the last level's carries are below a
// quarter of the base). In practice a product's coefficients are below
// 2^48, and its digits end within 2^(48-2b) + 1 of the balanced range.
constexpr size_t kMaxCarryLevels = 14;
constexpr size_t carryLevelsFor(int bits) { return static_cast<size_t>((54 - bits + bits - 1) / bits); }

// Blocks of a pass over `count` positions (or pairs).
constexpr size_t passBlocks(size_t count) { return (count + kPassBlock - 1) / kPassBlock; }

// A table of unit complex numbers u^j as two small ones:
// u^j = coarse[j / kPassBlock] * fine[j % kPassBlock] (interleaved re, im).
struct TwoLevelTable {
    const double* coarse = nullptr;
    const double* fine = nullptr;
};

// Digits of b bits on `length` positions.
struct DigitShape {
    size_t length = 0;       // M
    double base = 0;         // 2^b
    double inverseBase = 0;  // 2^-b
    size_t carryLevels = 0;  // carryLevelsFor(b)
};

// The IBDWT of 2^q - 1 on L positions: with r_k = (-q k) mod L, digit k has
// narrowBits + [r_k < q mod L] bits and weight 2^(r_k / L). r_k =
// coarseRest[k / kPassBlock] + fineRest[k % kPassBlock] (less L when that
// reaches L, and then the weight's two factors are halved), and so the
// weights and their inverses.
struct IbdwtShape {
    size_t length = 0;
    size_t carryLevels = 0;  // carryLevelsFor(narrowBits)
    int64_t qModLength = 0;
    int narrowBits = 0;
    const int64_t* coarseRest = nullptr;
    const int64_t* fineRest = nullptr;
    const double* coarseWeight = nullptr;
    const double* fineWeight = nullptr;
    const double* coarseInverse = nullptr;
    const double* fineInverse = nullptr;
};

struct Passes {
    const char* name;

    // Cyclic products on the transform of packed real digits: z = transform
    // of (z * other) or of z^2, times `scale`. z is a section of the
    // spectrum Z of length H: z[m] = Z(k), k = m (the whole spectrum,
    // offset 0) or k = 2m + offset (a half after splitStage); `length` is
    // the section's, `twiddle` holds exp(-2 pi i k / H) by m. Blocks of the
    // (length - offset) / 2 + 1 pairs (k, H - k).
    void (*squareCyclic)(double* z, const TwoLevelTable& twiddle, size_t length, size_t offset, double scale,
                         size_t fromBlock, size_t toBlock);
    void (*multiplyCyclic)(double* z, const double* other, const TwoLevelTable& twiddle, size_t length,
                           size_t offset, double scale, size_t fromBlock, size_t toBlock);

    // A transform of length H split into two of length G = H/2 (one per
    // thread, no hand-over inside): before them z_j, z_(j+G) become
    // z_j + z_(j+G) and (z_j - z_(j+G)) w^j (w = exp(-2 pi i / H), the
    // halves then transform to the even and the odd part of the spectrum);
    // after the inverse ones z_j + z_(j+G) conj(w^j), z_j - z_(j+G) conj(w^j).
    // `twiddle` holds w^j. Blocks of G.
    void (*splitStage)(double* z, const TwoLevelTable& twiddle, size_t half, size_t fromBlock, size_t toBlock);
    void (*joinStage)(double* z, const TwoLevelTable& twiddle, size_t half, size_t fromBlock, size_t toBlock);

    // Negacyclic products: pointwise on the H values. Blocks of H.
    void (*squareSpectrum)(double* z, double scale, size_t half, size_t fromBlock, size_t toBlock);
    void (*multiplySpectrum)(double* z, const double* other, double scale, size_t half, size_t fromBlock,
                             size_t toBlock);

    // z_j = (x_j + i x_(j+H)) w^j. Blocks of H.
    void (*loadNegacyclic)(const double* x, double* z, const TwoLevelTable& weight, size_t half, size_t fromBlock,
                           size_t toBlock);

    // Digits of a cyclic result (modulo 2^(bM) - 1): v_k = coefficients_k
    // rounded, times `multiplier` (an integer; |v_k| stays below 2^52),
    // plus addend_k (when not null), carried into digits. Returns the worst
    // distance of a coefficient from its integer. Blocks of M.
    double (*carryCyclic)(const double* coefficients, double multiplier, const double* addend, double* digits,
                          const DigitShape& shape, size_t fromBlock, size_t toBlock);

    // Digits of a negacyclic result (modulo 2^(bM) + 1) from its inverse
    // transform z (unweighted here), written as digits (positions j and
    // j + H) or, when `weighted` is not null, as the input of the next
    // negacyclic transform. Returns the worst round-off. Blocks of H.
    double (*carryNegacyclic)(const double* z, const TwoLevelTable& weight, const DigitShape& shape, double* digits,
                              double* weighted, size_t fromBlock, size_t toBlock);

    // The IBDWT's digits: v_k = product_k / weight_k, rounded, times
    // `multiplier` (an integer), carried, weighted again into out. Returns
    // the worst round-off. Blocks of L.
    double (*carryWeighted)(const double* product, double multiplier, double* out, const IbdwtShape& shape,
                            size_t fromBlock, size_t toBlock);
};

const Passes& passes();

// Tests: the plain set even on a processor with AVX-512 (false: back to
// the choice by processor and environment).
void usePlainPasses(bool plain);

}  // namespace arithmetic::fft
