#pragma once
// Arithmetic modulo one fixed N on a few residue registers. The powering
// loops (Fermat, Lucas-Lehmer) and their error checks are written against
// this interface; the implementation behind it is chosen by the size and
// form of N: GMP below the crossover, FFT products above it.
//
// Registers hold residues in whatever form the implementation squares
// fastest in, so that a long run converts to and from GMP integers only at
// its start, its checkpoints and its end.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <gmp.h>

namespace arithmetic {

class ModularArithmetic {
public:
    using Register = int;  // 0 .. registerCount() - 1

    virtual ~ModularArithmetic() = default;

    virtual int registerCount() const = 0;

    // value must lie in 0 .. N-1.
    virtual void set(Register target, mpz_srcptr value) = 0;
    // The register's residue, fully reduced to 0 .. N-1.
    virtual void get(Register source, mpz_ptr value) const = 0;
    virtual void copy(Register target, Register source) = 0;

    virtual void square(Register x) = 0;                     // x = x^2 mod N
    virtual void multiply(Register x, Register y) = 0;       // x = x*y mod N
    virtual void multiplySmall(Register x, uint32_t c) = 0;  // x = x*c mod N
    virtual void addSmall(Register x, int64_t c) = 0;        // x = x+c mod N, |c| < 2^31

    // Test-only fault hook: changes the register's residue to a wrong value
    // (a flipped bit), as a hardware error would, without any check noticing.
    virtual void corruptForTest(Register x) = 0;
};

// The fastest arithmetic for N (N odd, N > 1) with at least `registers`
// registers, using up to `threads` threads for its transforms.
std::unique_ptr<ModularArithmetic> makeModularArithmetic(mpz_srcptr n, int registers, unsigned threads);

// Bytes the arithmetic makeModularArithmetic chooses for N takes, the
// stacks of its transforms' threads included (an upper estimate).
size_t modularArithmeticBytes(mpz_srcptr n, int registers, unsigned threads);

}  // namespace arithmetic
