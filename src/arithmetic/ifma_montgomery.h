#pragma once
// Montgomery arithmetic modulo an odd N of a few thousand bits on AVX-512
// IFMA: vpmadd52luq and vpmadd52huq give the low and the high 52 bits of
// eight 52 x 52-bit products per instruction, added into eight 64-bit
// accumulators. Residues are held in limbs of 52 bits.
//
// A Montgomery product x*y/R mod N (R = 2^(52K), K limbs) is made of three
// whole products, each summed column by column in vector registers (product
// scanning: no carries inside, a column sum stays below 2^64 for K up to
// 1024) and then carried once: T = x*y, m = (T mod R) * (-1/N) mod R (the low
// half only), and (T + m*N) / R. With R > 16N a residue below 4N in gives one
// below 2N out, so a doubling (the step for a 1 bit of base 2) needs no
// reduction, and only comparisons reduce fully.
//
// On this processor (Zen 5) a step at 1,000 digits is about 2.9 times faster
// than GMP's and at 2,000 digits 2.7 times (bench_next_prime --ifma). Used by
// the strong test between ifmaMinimumBits() and ifmaMaximumBits(), where it
// beats both GMP and the FFT registers, when the processor has IFMA.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <gmp.h>

#include "arithmetic/big_integer.h"

namespace arithmetic {

// True when the processor has AVX-512 IFMA and it has not been switched off.
bool ifmaAvailable();
// Tests switch it off to run the plain path on the same numbers.
void allowIfma(bool allowed);

// The sizes (bits of N) the strong test runs on this arithmetic.
size_t ifmaMinimumBits();
size_t ifmaMaximumBits();

class IfmaMontgomery {
public:
    // n odd, 3 <= n, at most ifmaMaximumBits() bits; only when ifmaAvailable().
    explicit IfmaMontgomery(mpz_srcptr n);

    // x = base^exponent mod N (exponent >= 1, base below 2^32).
    void power(unsigned long base, mpz_srcptr exponent);
    // x = x^2 mod N.
    void square();
    bool isOne();
    bool isMinusOne();
    // The residue, fully reduced.
    void get(mpz_ptr value);

private:
    using Limbs = std::vector<uint64_t>;

    Limbs paddedLimbs() const;
    uint64_t* at(Limbs& padded) const;
    const uint64_t* at(const Limbs& padded) const;
    void setLimbs(Limbs& padded, mpz_srcptr value) const;
    void multiply(Limbs& x, const Limbs& y);  // x = x*y/R mod N, below 2N
    void doubleIt(Limbs& x) const;            // x = 2x, below 4N
    void reduceFully(Limbs& x) const;         // x below N
    bool fullyReducedEquals(const Limbs& montgomeryValue);

    BigInt modulus_;
    size_t limbs_;
    size_t columnsPadded_;
    Limbs n_, nPrime_, x_, scratch_;
    Limbs product_, low_, columns_;
    Limbs one_, minusOne_, unit_;  // R mod N, N - (R mod N), and 1 (to leave the form)
};

}  // namespace arithmetic
