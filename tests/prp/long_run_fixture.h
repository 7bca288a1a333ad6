#pragma once
// Helpers for the long-run tests: an arithmetic that dies part-way, as a
// killed process would, and numbers computed with plain GMP to compare with.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "arithmetic/big_integer.h"
#include "arithmetic/checkpoint.h"
#include "arithmetic/gmp_arithmetic.h"

namespace prp_test {

struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

// GMP registers that throw Interrupted at the given square, leaving behind
// whatever checkpoint the loop saved last.
class InterruptingArithmetic final : public arithmetic::ModularArithmetic {
public:
    InterruptingArithmetic(mpz_srcptr n, int registers, uint64_t squaresBeforeDying)
        : inner_(arithmetic::makeGmpArithmetic(n, registers)), squaresLeft_(squaresBeforeDying)
    {
    }

    int registerCount() const override { return inner_->registerCount(); }
    void set(Register target, mpz_srcptr value) override { inner_->set(target, value); }
    void get(Register source, mpz_ptr value) const override { inner_->get(source, value); }
    void copy(Register target, Register source) override { inner_->copy(target, source); }
    void square(Register x) override
    {
        if (squaresLeft_-- == 0)
            throw Interrupted();
        inner_->square(x);
    }
    void multiply(Register x, Register y) override { inner_->multiply(x, y); }
    void multiplySmall(Register x, uint32_t c) override { inner_->multiplySmall(x, c); }
    void addSmall(Register x, int64_t c) override { inner_->addSmall(x, c); }
    void corruptForTest(Register x) override { inner_->corruptForTest(x); }

private:
    std::unique_ptr<arithmetic::ModularArithmetic> inner_;
    uint64_t squaresLeft_;
};

inline void setMersenne(arithmetic::BigInt& n, unsigned long q)
{
    mpz_set_ui(n.get(), 0);
    mpz_setbit(n.get(), q);
    mpz_sub_ui(n.get(), n.get(), 1);
}

// base^(n-1) mod n by mpz_powm.
inline void fermatResidue(mpz_srcptr n, unsigned long base, mpz_ptr residue)
{
    arithmetic::BigInt exponent, b(base);
    mpz_sub_ui(exponent.get(), n, 1);
    mpz_powm(residue, b.get(), exponent.get(), n);
}

// A checkpoint's text with one value changed is refused by its checksum;
// this makes the checksum whole again, as a writer's fault or a deliberate
// edit would leave it, so that what is behind the checksum gets tested.
inline std::string withChecksumRecomputed(const std::string& text)
{
    std::string body = text.substr(0, text.rfind("checksum "));
    return body + "checksum " + arithmetic::textFingerprint(body) + "\n";
}

inline uint64_t low64(mpz_srcptr x)
{
    return mpz_size(x) == 0 ? 0 : mpz_getlimbn(x, 0);
}

// RES64 of the base-b Fermat test and of the Lucas-Lehmer test of 2^q - 1,
// by plain mpz arithmetic.
inline uint64_t fermatRes64(unsigned long q, unsigned long base)
{
    arithmetic::BigInt m, residue;
    setMersenne(m, q);
    fermatResidue(m.get(), base, residue.get());
    return low64(residue.get());
}

inline uint64_t lucasLehmerRes64(unsigned long q)
{
    arithmetic::BigInt m, s(4);
    setMersenne(m, q);
    for (unsigned long i = 0; i + 2 < q; ++i) {
        mpz_mul(s.get(), s.get(), s.get());
        mpz_sub_ui(s.get(), s.get(), 2);
        mpz_mod(s.get(), s.get(), m.get());
    }
    return low64(s.get());
}

}  // namespace prp_test
