#include "arithmetic/fermat_test.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "arithmetic/checked_powering.h"
#include "arithmetic/big_integer.h"
#include "arithmetic/gmp_arithmetic.h"
#include "arithmetic/powering_proof.h"

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

// Processor time of the whole process (all its threads).
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
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

enum class ProofEnd { Kept, Retryable, None };

// The powering with its proof: the residues go to the store as the run
// passes them, the proof is built at the end and kept before the caller
// lets the checkpoint go, so that a kill at any moment leaves either the
// proof or what a rerun needs to make it.
ProofEnd provenPower(ModularArithmetic& arithmetic, unsigned long base, mpz_srcptr exponent, mpz_srcptr n,
                 CheckpointStore& checkpoints, const LongRunSettings& settings, mpz_ptr result)
{
    RunReport& report = settings.reportTo();
    std::unique_ptr<ProofStore> store = settings.proofStore(n, base);
    ProofLayout layout(settings.proofPower, mpz_sizeinbase(exponent, 2));
    ProofRecorder recorder(layout, *store, n, report);
    checkedPower(arithmetic, base, exponent, n, checkpoints, settings, "PRP test to base " + std::to_string(base),
                 result, &recorder);
    if (!recorder.complete()) {
        store->removeResidues();
        return ProofEnd::None;
    }
    try {
        report.note("Building the proof of power " + std::to_string(settings.proofPower));
        auto buildStart = std::chrono::steady_clock::now();
        double processorStart = processorSeconds();
        PoweringProof proof = buildPoweringProof(arithmetic, *store, layout, base, exponent, n, result);
        char took[96];
        std::snprintf(took, sizeof took, "Proof built in %.2f s (%.2f s of processor time)", secondsSince(buildStart),
                      processorSeconds() - processorStart);
        report.note(took);
        if (!store->saveProof(proof)) {
            report.note("The proof residues and the checkpoint are kept: run the test again to retry");
            return ProofEnd::Retryable;
        }
    } catch (const std::runtime_error& error) {
        report.note(std::string("No proof: ") + error.what());
        store->removeResidues();
        return ProofEnd::None;
    }
    store->removeResidues();
    return ProofEnd::Kept;
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
    if (settings.proofPower > 0 && settings.proofStore) {
        ProofEnd end = provenPower(*arithmetic, base, exponent.get(), n, *checkpoints, settings, residue.get());
        outcome.proofKept = end == ProofEnd::Kept;
        outcome.proofRetryable = end == ProofEnd::Retryable;
        outcome.checked = true;
    } else if (isGmpArithmetic(*arithmetic) && !wantsRegisterLoop(n, base, *checkpoints)) {
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
