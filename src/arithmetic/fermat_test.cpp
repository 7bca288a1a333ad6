#include "arithmetic/fermat_test.h"

#include <chrono>
#include <string>

#include "arithmetic/checked_powering.h"
#include "arithmetic/big_integer.h"
#include "arithmetic/gmp_arithmetic.h"

namespace arithmetic {

namespace {

using arithmetic::BigInt;

// From this size the GMP register loop (Barrett reduction) is as fast as
// mpz_powm, so long runs get the check and checkpoints for the check's cost
// alone (5/sqrt(bits), see checked_powering.h). Below it,
// mpz_powm's Montgomery windows win and the registers are used only when
// the run would outlast the checkpoint interval. For N = 2^q - 1 the
// registers reduce by a fold, faster than mpz_powm at any size worth a
// check.
constexpr size_t kRegisterLoopFromBits = 100'000;
// Below this a test takes milliseconds: no check, no checkpoint.
constexpr size_t kShortBelowBits = 4'096;
// The sample costs 64/bits of the test: 1.6 % at 4,096 bits, 0.2 % at 30,000.
constexpr unsigned kSampleBits = 64;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

uint64_t lowWord(mpz_srcptr x)
{
    static_assert(GMP_LIMB_BITS == 64, "RES64 takes one limb");
    return mpz_size(x) == 0 ? 0 : mpz_getlimbn(x, 0);
}

// Seconds the whole powering will take, from a short sample of it.
double estimateSeconds(mpz_srcptr n, unsigned long base)
{
    BigInt sampleExponent, sampleResult, b(base);
    mpz_tdiv_q_2exp(sampleExponent.get(), n, mpz_sizeinbase(n, 2) - kSampleBits);
    auto start = std::chrono::steady_clock::now();
    mpz_powm(sampleResult.get(), b.get(), sampleExponent.get(), n);
    return secondsSince(start) * static_cast<double>(mpz_sizeinbase(n, 2)) / kSampleBits;
}

bool wantsRegisterLoop(mpz_srcptr n, unsigned long base, const CheckpointStore& checkpoints)
{
    size_t bits = mpz_sizeinbase(n, 2);
    if (bits >= kRegisterLoopFromBits)
        return true;
    if (bits < kShortBelowBits)
        return false;
    if (mpz_scan0(n, 0) == bits)
        return true;
    if (!checkpoints.enabled())
        return false;
    return checkpoints.holdsState() || estimateSeconds(n, base) > checkpoints.intervalSeconds();
}

}  // namespace

FermatOutcome fermatTest(mpz_srcptr n, unsigned long base, const LongRunSettings& settings)
{
    FermatOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    if (mpz_cmp_ui(n, base) <= 0 && base % mpz_get_ui(n) == 0) {
        outcome.probablePrime = mpz_probab_prime_p(n, 30) > 0;
        outcome.seconds = secondsSince(start);
        return outcome;
    }

    BigInt exponent, residue;
    mpz_sub_ui(exponent.get(), n, 1);
    std::unique_ptr<CheckpointStore> checkpoints =
        settings.openCheckpoints(numberIdentity(n), "fermat base " + std::to_string(base));
    std::unique_ptr<ModularArithmetic> arithmetic = makeModularArithmetic(n, 4, settings.threads);
    if (isGmpArithmetic(*arithmetic) && !wantsRegisterLoop(n, base, *checkpoints)) {
        BigInt b(base);
        mpz_powm(residue.get(), b.get(), exponent.get(), n);
    } else {
        checkedPower(*arithmetic, base, exponent.get(), n, *checkpoints, settings,
                     "PRP test to base " + std::to_string(base), residue.get());
        outcome.checked = true;
    }
    outcome.probablePrime = mpz_cmp_ui(residue.get(), 1) == 0;
    outcome.res64 = lowWord(residue.get());
    outcome.seconds = secondsSince(start);
    return outcome;
}

size_t fermatTestBytes(mpz_srcptr n, unsigned threads)
{
    // Residue copies of n's size: the exponent, the result, the check's two
    // sides, and a checkpoint's three residues at a time as numbers, as hex
    // text (two bytes a byte) in the saved values and again in the file's
    // text, read or written.
    const size_t residue = (mpz_size(n) + 1) * sizeof(mp_limb_t);
    return modularArithmeticBytes(n, 4, threads) + 20 * residue + kLongRunMarginBytes;
}

}  // namespace arithmetic
