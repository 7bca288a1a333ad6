#include "gmp_arithmetic.h"

#include <vector>

namespace prp {

namespace {

class GmpArithmetic : public ModularArithmetic {
public:
    GmpArithmetic(mpz_srcptr n, int registers) : registers_(static_cast<size_t>(registers < 1 ? 1 : registers))
    {
        mpz_init_set(n_, n);
        for (auto& r : registers_)
            mpz_init(r.value);
    }
    ~GmpArithmetic() override
    {
        for (auto& r : registers_)
            mpz_clear(r.value);
        mpz_clear(n_);
    }
    int registerCount() const override { return static_cast<int>(registers_.size()); }
    void set(Register target, mpz_srcptr value) override { mpz_set(registers_[target].value, value); }
    void get(Register source, mpz_ptr value) const override { mpz_set(value, registers_[source].value); }
    void copy(Register target, Register source) override { mpz_set(registers_[target].value, registers_[source].value); }
    void square(Register x) override
    {
        mpz_mul(registers_[x].value, registers_[x].value, registers_[x].value);
        mpz_mod(registers_[x].value, registers_[x].value, n_);
    }
    void multiply(Register x, Register y) override
    {
        mpz_mul(registers_[x].value, registers_[x].value, registers_[y].value);
        mpz_mod(registers_[x].value, registers_[x].value, n_);
    }
    void multiplySmall(Register x, uint32_t c) override
    {
        mpz_mul_ui(registers_[x].value, registers_[x].value, c);
        mpz_mod(registers_[x].value, registers_[x].value, n_);
    }
    void addSmall(Register x, int64_t c) override
    {
        if (c >= 0)
            mpz_add_ui(registers_[x].value, registers_[x].value, static_cast<unsigned long>(c));
        else
            mpz_sub_ui(registers_[x].value, registers_[x].value, static_cast<unsigned long>(-c));
        mpz_mod(registers_[x].value, registers_[x].value, n_);
    }
    void corruptForTest(Register x) override
    {
        mpz_combit(registers_[x].value, 1);
        mpz_mod(registers_[x].value, registers_[x].value, n_);
    }

private:
    struct Slot {
        mpz_t value;
    };
    mpz_t n_;
    std::vector<Slot> registers_;
};

}  // namespace

std::unique_ptr<ModularArithmetic> makeGmpArithmetic(mpz_srcptr n, int registers)
{
    return std::make_unique<GmpArithmetic>(n, registers);
}

}  // namespace prp
