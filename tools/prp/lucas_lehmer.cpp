#include "lucas_lehmer.h"

#include <chrono>

#include "engine/big_integer.h"
#include "progress.h"

namespace prp {

namespace {

using engine::BigInt;

constexpr auto kNoteInterval = std::chrono::seconds(30);

// x mod (2^q - 1) for 0 <= x < 2^(2q): since 2^q = 1 modulo it, the part
// above bit q folds onto the part below by one addition, no division.
void reduceModMersenne(mpz_ptr x, mpz_ptr high, unsigned long q, mpz_srcptr mersenne)
{
    mpz_tdiv_q_2exp(high, x, q);
    mpz_tdiv_r_2exp(x, x, q);
    mpz_add(x, x, high);
    while (mpz_cmp(x, mersenne) >= 0)
        mpz_sub(x, x, mersenne);
}

}  // namespace

bool isMersenneNumber(mpz_srcptr n, unsigned long& q)
{
    if (mpz_cmp_ui(n, 3) < 0)
        return false;
    size_t bits = mpz_sizeinbase(n, 2);
    if (mpz_scan0(n, 0) != bits)
        return false;
    q = static_cast<unsigned long>(bits);
    return true;
}

unsigned long smallestPrimeFactor(unsigned long q)
{
    for (unsigned long d = 2; d * d <= q; ++d)
        if (q % d == 0)
            return d;
    return q;
}

LucasLehmerOutcome lucasLehmer(unsigned long q)
{
    LucasLehmerOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    if (q == 2) {  // the sequence starts at q = 3; 2^2 - 1 = 3 is prime
        outcome.prime = true;
        return outcome;
    }
    BigInt mersenne, s(4), high;
    mpz_setbit(mersenne.get(), q);
    mpz_sub_ui(mersenne.get(), mersenne.get(), 1);

    auto nextNote = start + kNoteInterval;
    for (unsigned long i = 0; i + 2 < q; ++i) {
        mpz_mul(s.get(), s.get(), s.get());
        reduceModMersenne(s.get(), high.get(), q, mersenne.get());
        if (mpz_cmp_ui(s.get(), 2) < 0)
            mpz_add(s.get(), s.get(), mersenne.get());
        mpz_sub_ui(s.get(), s.get(), 2);
        if ((i & 1023) == 0 && std::chrono::steady_clock::now() >= nextNote) {
            note("Lucas-Lehmer test: iteration %lu of %lu (%.0f%%)", i + 1, q - 2, 100.0 * (i + 1) / (q - 2));
            nextNote += kNoteInterval;
        }
    }
    outcome.prime = s.isZero();
    outcome.res64 = mpz_size(s.get()) == 0 ? 0 : mpz_getlimbn(s.get(), 0);
    outcome.seconds = secondsSince(start);
    return outcome;
}

}  // namespace prp
