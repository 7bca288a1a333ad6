#include "arithmetic/lucas_lehmer.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "arithmetic/checkpoint.h"
#include "arithmetic/big_integer.h"
#include "arithmetic/fault_injection.h"
#include "arithmetic/modular_arithmetic.h"

namespace arithmetic {

namespace {

using arithmetic::BigInt;
using Register = ModularArithmetic::Register;

constexpr Register kTerm = 0;      // s(i)
constexpr Register kVerified = 1;  // the last term that passed the check
// A check costs about one Jacobi symbol, a few dozen squarings at large
// sizes: 16 a run is noise, and bounds the work an error costs to 1/16.
constexpr unsigned long kChecksPerRun = 16;
constexpr int kFailuresBeforeGivingUp = 3;

class LucasLehmerRun {
public:
    LucasLehmerRun(unsigned long q, const LongRunSettings& settings)
        : q_(q), iterations_(q - 2), report_(settings.reportTo()), stop_(settings.stop), fault_(settings.faultAtStep)
    {
        mpz_setbit(mersenne_.get(), q);
        mpz_sub_ui(mersenne_.get(), mersenne_.get(), 1);
        arithmetic_ = makeModularArithmetic(mersenne_.get(), 2, settings.threads);
        checkpoints_ = settings.openCheckpoints(numberIdentity(mersenne_.get()), "lucas-lehmer q " + std::to_string(q));
        checkEvery_ = std::max<unsigned long>(1, iterations_ / kChecksPerRun);
    }

    // The last term s(q-2).
    void run(mpz_ptr last)
    {
        if (!resume()) {
            BigInt four(4);
            arithmetic_->set(kTerm, four.get());
            arithmetic_->copy(kVerified, kTerm);
            verifiedDone_ = 0;
            verifiedFingerprint_ = residueFingerprint(0, four.get());
        }
        report_.stepsBegin("Lucas-Lehmer test of 2^" + std::to_string(q_) + "-1", iterations_, done_);
        StopPolling polling(stop_);
        int failuresInARow = 0;
        while (done_ < iterations_) {
            arithmetic_->square(kTerm);
            arithmetic_->addSmall(kTerm, -2);
            fault_.atStep(done_, *arithmetic_, kTerm);
            report_.stepDone(++done_);
            const bool stopping = polling.requested();
            const bool saving = stopping || checkpoints_->due(done_);
            if (!saving && done_ % checkEvery_ != 0 && done_ != iterations_)
                continue;
            if (termPasses()) {
                failuresInARow = 0;
            } else {
                if (++failuresInARow >= kFailuresBeforeGivingUp)
                    throw std::runtime_error("the Jacobi check keeps failing: the arithmetic is unreliable");
                report_.note("Jacobi check failed at iteration " + std::to_string(done_) +
                             ": an arithmetic error, redoing from iteration " + std::to_string(verifiedDone_));
                rollBack();
            }
            if (saving && savedDone_ != verifiedDone_)
                save();
            if (stopping)
                throw RunStopped(done_, iterations_, savedDone_ == done_);
        }
        arithmetic_->get(kTerm, last);
    }

private:
    // The Jacobi check of the current term; a term that passes becomes the
    // verified one, with its fingerprint taken from the value checked.
    bool termPasses()
    {
        BigInt term;
        arithmetic_->get(kTerm, term.get());
        std::string fingerprint = residueFingerprint(done_, term.get());
        if (!jacobiPasses(term.get()))
            return false;
        arithmetic_->copy(kVerified, kTerm);
        verifiedDone_ = done_;
        verifiedFingerprint_ = std::move(fingerprint);
        return true;
    }

    // (s - 2 | 2^q - 1) is -1 (or 0) on the true sequence.
    bool jacobiPasses(mpz_srcptr s) const
    {
        BigInt t;
        mpz_sub_ui(t.get(), s, 2);
        if (mpz_sgn(t.get()) < 0)
            mpz_add(t.get(), t.get(), mersenne_.get());
        return mpz_jacobi(t.get(), mersenne_.get()) != 1;
    }

    // The verified term, after making sure it is still the value checked.
    void verifiedTerm(mpz_ptr term) const
    {
        arithmetic_->get(kVerified, term);
        if (residueFingerprint(verifiedDone_, term) != verifiedFingerprint_)
            throw std::runtime_error("a verified residue changed in memory: the memory is unreliable");
    }

    void rollBack()
    {
        BigInt term;
        verifiedTerm(term.get());
        arithmetic_->copy(kTerm, kVerified);
        done_ = verifiedDone_;
    }

    // Only a term that passed the check is saved, with its fingerprint: a
    // changed term or step no longer matches it. The check itself cannot
    // promise more: a wrong term passes it about half the time.
    void save()
    {
        Checkpoint checkpoint;
        checkpoint.step = verifiedDone_;
        BigInt term;
        verifiedTerm(term.get());
        checkpoint.setNumber("term", term.get());
        checkpoint.values["fingerprint"] = verifiedFingerprint_;
        if (checkpoints_->save(checkpoint))
            savedDone_ = verifiedDone_;
    }

    bool resume()
    {
        std::optional<Checkpoint> saved = checkpoints_->load();
        if (!saved)
            return false;
        BigInt term;
        if (!saved->getNumber("term", term.get()) || mpz_cmp(term.get(), mersenne_.get()) >= 0 ||
            saved->step == 0 || saved->step > iterations_ || !saved->values.contains("fingerprint")) {
            report_.note("Checkpoint " + checkpoints_->name() +
                         " does not fit this test: ignored, starting from the beginning");
            return false;
        }
        if (residueFingerprint(saved->step, term.get()) != saved->values["fingerprint"] || !jacobiPasses(term.get())) {
            report_.note("Checkpoint " + checkpoints_->name() +
                         " was changed after its residue was verified: ignored, starting from the beginning");
            return false;
        }
        arithmetic_->set(kTerm, term.get());
        arithmetic_->copy(kVerified, kTerm);
        done_ = verifiedDone_ = saved->step;
        savedDone_ = done_;
        verifiedFingerprint_ = saved->values["fingerprint"];
        report_.note("Resuming from the checkpoint " + checkpoints_->name() + " at iteration " +
                     std::to_string(done_) + " of " + std::to_string(iterations_));
        return true;
    }

    unsigned long q_;
    unsigned long iterations_;
    unsigned long checkEvery_ = 1;
    unsigned long done_ = 0;
    unsigned long verifiedDone_ = 0;
    std::optional<unsigned long> savedDone_;  // the iteration the store holds
    std::string verifiedFingerprint_;
    BigInt mersenne_;
    std::unique_ptr<ModularArithmetic> arithmetic_;
    std::unique_ptr<CheckpointStore> checkpoints_;
    RunReport& report_;
    StopRequest* stop_;
    FaultInjection fault_;
};

}  // namespace

LucasLehmerOutcome lucasLehmer(unsigned long q, const LongRunSettings& settings)
{
    LucasLehmerOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    if (q == 2) {  // the sequence starts at q = 3; 2^2 - 1 = 3 is prime
        outcome.prime = true;
        return outcome;
    }
    BigInt last;
    LucasLehmerRun(q, settings).run(last.get());
    outcome.prime = last.isZero();
    outcome.res64 = mpz_size(last.get()) == 0 ? 0 : mpz_getlimbn(last.get(), 0);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

size_t lucasLehmerBytes(unsigned long q, unsigned threads)
{
    BigInt mersenne;
    mpz_setbit(mersenne.get(), q);
    mpz_sub_ui(mersenne.get(), mersenne.get(), 1);
    // 2^q - 1 itself, the last term, the Jacobi symbol's operand and its
    // working copies, and a checkpoint's term as a number and as hex text
    // twice.
    const size_t residue = (mpz_size(mersenne.get()) + 1) * sizeof(mp_limb_t);
    return modularArithmeticBytes(mersenne.get(), 2, threads) + 12 * residue + kLongRunMarginBytes;
}

}  // namespace arithmetic
