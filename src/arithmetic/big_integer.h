#pragma once
// Owning handle of one GMP integer. Construction initialises it and
// destruction clears it, so every create is paired with exactly one release.
// Copies are explicit (set()) because the numbers here can be hundreds of MB.
#include <gmp.h>

namespace arithmetic {

class BigInt {
public:
    BigInt() { mpz_init(value_); }
    explicit BigInt(unsigned long small) { mpz_init_set_ui(value_, small); }
    ~BigInt() { mpz_clear(value_); }

    BigInt(const BigInt&) = delete;
    BigInt& operator=(const BigInt&) = delete;
    BigInt(BigInt&& other) noexcept { mpz_init(value_); mpz_swap(value_, other.value_); }
    BigInt& operator=(BigInt&& other) noexcept { mpz_swap(value_, other.value_); return *this; }

    mpz_ptr get() { return value_; }
    mpz_srcptr get() const { return value_; }

    void set(const BigInt& other) { mpz_set(value_, other.value_); }
    void set(unsigned long small) { mpz_set_ui(value_, small); }
    void swap(BigInt& other) { mpz_swap(value_, other.value_); }

    bool isZero() const { return mpz_sgn(value_) == 0; }
    int compare(unsigned long small) const { return mpz_cmp_ui(value_, small); }
    int compare(const BigInt& other) const { return mpz_cmp(value_, other.value_); }

private:
    mpz_t value_;
};

}  // namespace arithmetic
