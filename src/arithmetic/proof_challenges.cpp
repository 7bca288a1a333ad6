#include "arithmetic/proof_challenges.h"

#include <algorithm>
#include <string_view>

namespace arithmetic {

namespace {

constexpr std::string_view kDomain = "quendrolt powering proof 1";

void appendWord(std::string& bytes, uint64_t word)
{
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<char>(word >> shift));
}

}  // namespace

size_t byteLength(mpz_srcptr n) { return (mpz_sizeinbase(n, 2) + 7) / 8; }

std::string residueBytes(mpz_srcptr value, size_t width)
{
    size_t size = mpz_sgn(value) == 0 ? 0 : byteLength(value);
    std::string bytes(std::max(width, size), '\0');
    size_t written = 0;
    mpz_export(bytes.data() + bytes.size() - size, &written, 1, 1, 1, 0, value);
    return bytes;
}

ProofChallenges::ProofChallenges(mpz_srcptr n, unsigned long base, mpz_srcptr exponent, mpz_srcptr result,
                                 unsigned power)
    : residueBytes_(byteLength(n))
{
    std::string claim(kDomain);
    appendWord(claim, power);
    appendWord(claim, base);
    appendWord(claim, residueBytes_);
    claim += residueBytes(n, residueBytes_);
    appendWord(claim, byteLength(exponent));
    claim += residueBytes(exponent, byteLength(exponent));
    claim += residueBytes(result, residueBytes_);
    chain_ = sha256(claim);
}

void ProofChallenges::next(mpz_srcptr midpoint, mpz_ptr r)
{
    Sha256 step;
    step.update(chain_);
    step.update(residueBytes(midpoint, residueBytes_));
    chain_ = step.finish();
    uint64_t drawn = 0;
    for (int i = 0; i < 8; ++i)
        drawn = drawn << 8 | chain_[i];
    mpz_set_ui(r, drawn);
    mpz_add_ui(r, r, 1);
    mpz_mul_2exp(r, r, 1);  // r = 2 (drawn + 1)
}

}  // namespace arithmetic
