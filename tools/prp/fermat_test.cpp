#include "fermat_test.h"

#include <chrono>
#include <cstdio>

#include "engine/big_integer.h"
#include "progress.h"

namespace prp {

namespace {

using engine::BigInt;

// Tests shorter than this (in bits of n) finish in seconds: no ticker.
constexpr size_t kTickerFromBits = 100'000;
constexpr unsigned kSampleBits = 256;

uint64_t lowWord(mpz_srcptr x)
{
    static_assert(GMP_LIMB_BITS == 64, "RES64 takes one limb");
    return mpz_size(x) == 0 ? 0 : mpz_getlimbn(x, 0);
}

// Seconds the whole powering will take, from a short sample of it.
double estimateSeconds(mpz_srcptr n, unsigned long base)
{
    BigInt sampleExponent, sampleResult;
    mpz_tdiv_q_2exp(sampleExponent.get(), n, mpz_sizeinbase(n, 2) - kSampleBits);
    auto start = std::chrono::steady_clock::now();
    BigInt b(base);
    mpz_powm(sampleResult.get(), b.get(), sampleExponent.get(), n);
    return secondsSince(start) * static_cast<double>(mpz_sizeinbase(n, 2)) / kSampleBits;
}

std::string describeProgress(double elapsed, double estimate)
{
    char text[160];
    std::snprintf(text, sizeof text, "PRP test running: %.0f s elapsed of about %.0f s (%.0f%%)", elapsed, estimate,
                  estimate > 0 ? 100.0 * elapsed / estimate : 0.0);
    return text;
}

}  // namespace

FermatOutcome fermatTest(mpz_srcptr n, unsigned long base)
{
    FermatOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    if (mpz_cmp_ui(n, base) <= 0 && base % mpz_get_ui(n) == 0) {
        outcome.probablePrime = mpz_probab_prime_p(n, 30) > 0;
        outcome.seconds = secondsSince(start);
        return outcome;
    }

    BigInt b(base), exponent, residue;
    mpz_sub_ui(exponent.get(), n, 1);
    if (mpz_sizeinbase(n, 2) < kTickerFromBits) {
        mpz_powm(residue.get(), b.get(), exponent.get(), n);
    } else {
        double estimate = estimateSeconds(n, base);
        note("PRP test to base %lu: about %.0f s", base, estimate);
        ProgressTicker ticker(std::chrono::seconds(30), [estimate](double elapsed) {
            return describeProgress(elapsed, estimate);
        });
        mpz_powm(residue.get(), b.get(), exponent.get(), n);
    }
    outcome.probablePrime = mpz_cmp_ui(residue.get(), 1) == 0;
    outcome.res64 = lowWord(residue.get());
    outcome.seconds = secondsSince(start);
    return outcome;
}

}  // namespace prp
