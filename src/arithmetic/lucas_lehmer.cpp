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
        : q_(q), iterations_(q - 2), report_(settings.reportTo()), fault_(settings.faultAtStep)
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
        }
        report_.stepsBegin("Lucas-Lehmer test of 2^" + std::to_string(q_) + "-1", iterations_, done_);
        int failuresInARow = 0;
        while (done_ < iterations_) {
            arithmetic_->square(kTerm);
            arithmetic_->addSmall(kTerm, -2);
            fault_.atStep(done_, *arithmetic_, kTerm);
            report_.stepDone(++done_);
            bool saving = checkpoints_->due();
            if (!saving && done_ % checkEvery_ != 0 && done_ != iterations_)
                continue;
            if (termPasses()) {
                arithmetic_->copy(kVerified, kTerm);
                verifiedDone_ = done_;
                failuresInARow = 0;
                if (saving)
                    save();
            } else {
                if (++failuresInARow >= kFailuresBeforeGivingUp)
                    throw std::runtime_error("the Jacobi check keeps failing: the arithmetic is unreliable");
                report_.note("Jacobi check failed at iteration " + std::to_string(done_) +
                             ": an arithmetic error, redoing from iteration " + std::to_string(verifiedDone_));
                arithmetic_->copy(kTerm, kVerified);
                done_ = verifiedDone_;
            }
        }
        arithmetic_->get(kTerm, last);
        checkpoints_->remove();
    }

private:
    bool termPasses()
    {
        BigInt term;
        arithmetic_->get(kTerm, term.get());
        mpz_sub_ui(term.get(), term.get(), 2);
        if (mpz_sgn(term.get()) < 0)
            mpz_add(term.get(), term.get(), mersenne_.get());
        return mpz_jacobi(term.get(), mersenne_.get()) != 1;
    }

    void save()
    {
        Checkpoint checkpoint;
        checkpoint.step = done_;
        BigInt term;
        arithmetic_->get(kTerm, term.get());
        checkpoint.setNumber("term", term.get());
        checkpoints_->save(checkpoint);
    }

    bool resume()
    {
        std::optional<Checkpoint> saved = checkpoints_->load();
        if (!saved)
            return false;
        BigInt term;
        if (!saved->getNumber("term", term.get()) || mpz_cmp(term.get(), mersenne_.get()) >= 0 ||
            saved->step == 0 || saved->step > iterations_) {
            report_.note("Checkpoint " + checkpoints_->name() +
                         " does not fit this test: ignored, starting from the beginning");
            return false;
        }
        arithmetic_->set(kTerm, term.get());
        arithmetic_->copy(kVerified, kTerm);
        done_ = verifiedDone_ = saved->step;
        report_.note("Resuming from the checkpoint " + checkpoints_->name() + " at iteration " +
                     std::to_string(done_) + " of " + std::to_string(iterations_));
        return true;
    }

    unsigned long q_;
    unsigned long iterations_;
    unsigned long checkEvery_ = 1;
    unsigned long done_ = 0;
    unsigned long verifiedDone_ = 0;
    BigInt mersenne_;
    std::unique_ptr<ModularArithmetic> arithmetic_;
    std::unique_ptr<CheckpointStore> checkpoints_;
    RunReport& report_;
    FaultInjection fault_;
};

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

}  // namespace arithmetic
