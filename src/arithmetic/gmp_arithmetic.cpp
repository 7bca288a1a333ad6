#include "arithmetic/gmp_arithmetic.h"

#include <vector>

#include "arithmetic/big_integer.h"

namespace arithmetic {

namespace {

using arithmetic::BigInt;

class GmpArithmetic final : public ModularArithmetic {
public:
    GmpArithmetic(mpz_srcptr n, int registers) : registers_(static_cast<size_t>(registers))
    {
        mpz_set(n_.get(), n);
        bits_ = mpz_sizeinbase(n, 2);
        mersenne_ = mpz_scan0(n, 0) == bits_;
        if (!mersenne_) {
            // floor(2^(2k) / N) for N of k bits: with it the quotient of any
            // x < N^2 is estimated by two products, off by at most 2.
            mpz_setbit(reciprocal_.get(), 2 * bits_);
            mpz_tdiv_q(reciprocal_.get(), reciprocal_.get(), n);
        }
    }

    int registerCount() const override { return static_cast<int>(registers_.size()); }

    void set(Register target, mpz_srcptr value) override { mpz_set(at(target), value); }
    void get(Register source, mpz_ptr value) const override { mpz_set(value, registers_[index(source)].get()); }
    void copy(Register target, Register source) override { mpz_set(at(target), at(source)); }

    void square(Register x) override
    {
        mpz_mul(at(x), at(x), at(x));
        reduce(at(x));
    }

    void multiply(Register x, Register y) override
    {
        mpz_mul(at(x), at(x), at(y));
        reduce(at(x));
    }

    void multiplySmall(Register x, uint32_t c) override
    {
        mpz_mul_ui(at(x), at(x), c);
        reduceSmallQuotient(at(x));
    }

    void addSmall(Register x, int64_t c) override
    {
        if (c >= 0)
            mpz_add_ui(at(x), at(x), static_cast<unsigned long>(c));
        else
            mpz_sub_ui(at(x), at(x), static_cast<unsigned long>(-c));
        reduceSmallQuotient(at(x));
    }

    void corruptForTest(Register x) override
    {
        mpz_combit(at(x), bits_ / 2);
        reduceSmallQuotient(at(x));
    }

private:
    size_t index(Register r) const { return static_cast<size_t>(r); }
    mpz_ptr at(Register r) { return registers_[index(r)].get(); }

    // x in 0 .. (N-1)^2 to x mod N.
    void reduce(mpz_ptr x)
    {
        if (mersenne_) {
            mpz_tdiv_q_2exp(quotient_.get(), x, bits_);
            mpz_tdiv_r_2exp(x, x, bits_);
            mpz_add(x, x, quotient_.get());
        } else {
            mpz_tdiv_q_2exp(quotient_.get(), x, bits_ - 1);
            mpz_mul(quotient_.get(), quotient_.get(), reciprocal_.get());
            mpz_tdiv_q_2exp(quotient_.get(), quotient_.get(), bits_ + 1);
            mpz_mul(quotient_.get(), quotient_.get(), n_.get());
            mpz_sub(x, x, quotient_.get());
        }
        while (mpz_cmp(x, n_.get()) >= 0)
            mpz_sub(x, x, n_.get());
    }

    // x within a small multiple of N (either sign) to x mod N: one short
    // division, linear in the size.
    void reduceSmallQuotient(mpz_ptr x) { mpz_mod(x, x, n_.get()); }

    BigInt n_, reciprocal_, quotient_;
    size_t bits_ = 0;
    bool mersenne_ = false;
    std::vector<BigInt> registers_;
};

}  // namespace

std::unique_ptr<ModularArithmetic> makeGmpArithmetic(mpz_srcptr n, int registers)
{
    return std::make_unique<GmpArithmetic>(n, registers);
}

bool isGmpArithmetic(const ModularArithmetic& arithmetic)
{
    return dynamic_cast<const GmpArithmetic*>(&arithmetic) != nullptr;
}

}  // namespace arithmetic
