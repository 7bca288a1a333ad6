#include "tester_run.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "arithmetic/big_integer.h"
#include "arithmetic/fermat_test.h"
#include "arithmetic/lucas_lehmer.h"
#include "checkpoint_file.h"
#include "engine/decimal_text.h"
#include "memory_limits.h"
#include "progress.h"
#include "proof_files.h"
#include "result_line.h"
#include "test_hooks.h"
#include "trial_factoring.h"
#include "wisdom_file.h"

namespace prp {

namespace {

using arithmetic::BigInt;
using Clock = std::chrono::steady_clock;
using namespace arithmetic;

std::string mebibytes(uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB"; }

// Refuses a test the memory left cannot hold, before it allocates.
// `least`: needed is a lower bound of what the test needs.
void refuseWithoutRoom(uint64_t needed, bool least = false)
{
    MemoryRoom room = memoryRoom();
    if (needed > room.bytes)
        throw std::runtime_error("not enough memory: the test needs " + std::string(least ? "at least" : "about") +
                                 " " + mebibytes(needed) + ", and " + room.limitedBy + " leaves " +
                                 mebibytes(room.bytes));
}

// A lower bound of what the long test of a number of these decimal digits
// needs, whatever its form: the Lucas-Lehmer test of a 2^q-1 of as many
// bits is the cheapest of them (the IBDWT without padding, two registers).
uint64_t leastTestBytes(const std::string& digits, unsigned threads)
{
    const size_t significant = digits.size() - std::min(digits.size(), digits.find_first_not_of('0'));
    const auto bits = static_cast<unsigned long>(static_cast<double>(significant) * 3.321928);
    return bits < 3 ? 0 : lucasLehmerBytes(bits - 1, threads);
}

class Run {
public:
    Run(const TesterOptions& options, const std::string& digits, Clock::time_point started, StopRequest& stop)
        : options_(options),
          label_(numberLabel(digits)),
          started_(started),
          stop_(stop),
          hooks_(TestHooks::fromEnvironment()),
          hookedReport_(report_, hooks_, stop_)
    {
        engine::setFromDecimal(n_, digits);
        checkpoints_.emplace(options_.numberFile,
                             CheckpointInterval{static_cast<double>(options_.checkpointSeconds), hooks_.checkpointSteps},
                             numberIdentity(n_.get()));
    }

    RunOutcome run()
    {
        if (n_.compare(2) < 0)
            return {belowTwoLine(label_), kExitComposite};
        if (options_.trialDepth > 0 || options_.trialOnly) {
            if (std::optional<RunOutcome> decided = trialFactoring())
                return *decided;
        }
        try {
            unsigned long q = 0;
            if (options_.mersenneTest) {
                if (isMersenneNumber(n_.get(), q))
                    return mersenneTest(q);
                note("%s is not of the form 2^q-1: running the PRP test instead", label_.c_str());
            }
            return fermatTests();
        } catch (const RunStopped& stopped) {
            return interrupted(stopped);
        }
    }

private:
    std::optional<RunOutcome> trialFactoring()
    {
        TrialSettings settings;
        settings.depth = options_.trialDepth;
        settings.threads = options_.threads;
        settings.stopAtFirstFactor = !options_.trialOnly;
        note("Trial factoring to %llu with up to %u threads", static_cast<unsigned long long>(settings.depth),
             settings.threads);
        Clock::time_point lastNote = Clock::now();
        TrialOutcome outcome = trialFactor(n_.get(), settings, [&lastNote](size_t done, size_t total) {
            if (done == total || secondsSince(lastNote) >= 2.0) {
                note("Trial factoring: %zu of %zu ranges done", done, total);
                lastNote = Clock::now();
            }
        });
        if (!outcome.factors.empty()) {
            std::vector<std::string> factors;
            for (uint64_t p : outcome.factors)
                factors.push_back(std::to_string(p));
            return RunOutcome{factorsLine(label_, factors), kExitComposite};
        }
        if (outcome.reachedSquareRoot)
            note("No factor up to the square root: the number is prime");
        if (options_.trialOnly)
            return RunOutcome{noSmallFactorLine(label_, outcome.depthScanned), kExitProbablePrime};
        return std::nullopt;
    }

    RunOutcome mersenneTest(unsigned long q)
    {
        unsigned long divisor = smallestPrimeFactor(q);
        if (divisor != q) {
            // 2^d - 1 divides 2^q - 1 whenever d divides q.
            BigInt factor;
            mpz_setbit(factor.get(), divisor);
            mpz_sub_ui(factor.get(), factor.get(), 1);
            return {factorsLine(label_, {numberLabel(engine::toDecimal(factor))}), kExitComposite};
        }
        makeRoom(lucasLehmerBytes(q, options_.threads));
        note("Lucas-Lehmer test of 2^%lu-1", q);
        if (options_.proofPower > 0)
            note("No proof file: the Lucas-Lehmer test proves its verdict itself; -proof is for the PRP test");
        LucasLehmerOutcome outcome = lucasLehmer(q, longRunSettings());
        checkpoints_->finish();
        double overhead = secondsSince(started_) - outcome.seconds;
        if (outcome.prime)
            return {provenPrimeLine(label_, "the Lucas-Lehmer test", outcome.seconds, overhead), kExitProbablePrime};
        return {compositeLine(label_, outcome.res64, outcome.seconds, overhead), kExitComposite};
    }

    // The bases in turn; a base an earlier run of the same number passed is
    // not tested again, and one that passes here is recorded at once while
    // bases remain, so that a rerun after an interruption goes on with the
    // base it was at.
    RunOutcome fermatTests()
    {
        const std::vector<unsigned long> bases = effectiveBases(options_);
        double testSeconds = 0;
        unsigned long lastBase = 0;
        bool roomChecked = false;
        bool keepCheckpoint = false;  // for a rerun that writes a proof that could not be written
        for (size_t i = 0; i < bases.size(); ++i) {
            const unsigned long base = bases[i];
            lastBase = base;
            if (checkpoints_->basePassed(base)) {
                note("Fermat PRP test to base %lu: passed in an earlier run (%s)", base, checkpoints_->path().c_str());
                continue;
            }
            if (!roomChecked)
                makeRoom(fermatTestBytes(n_.get(), options_.threads));
            roomChecked = true;
            note("Fermat PRP test to base %lu", base);
            FermatOutcome outcome = fermatTest(n_.get(), base, longRunSettings());
            testSeconds += outcome.seconds;
            if (options_.proofPower > 0 && !outcome.proofKept)
                note("No proof of the test to base %lu was written", base);
            keepCheckpoint = keepCheckpoint || outcome.proofRetryable;
            if (!outcome.probablePrime) {
                if (!keepCheckpoint)
                    checkpoints_->finish();
                return {compositeLine(label_, outcome.res64, testSeconds, secondsSince(started_) - testSeconds),
                        kExitComposite};
            }
            if (outcome.checked && i + 1 < bases.size())
                checkpoints_->recordPassedBase(base);
        }
        if (!keepCheckpoint)
            checkpoints_->finish();
        return {probablePrimeLine(label_, lastBase, testSeconds, secondsSince(started_) - testSeconds),
                kExitProbablePrime};
    }

    void makeRoom(uint64_t needed)
    {
        refuseWithoutRoom(needed);
        if (hooks_.tightMemoryPercent)
            limitAddressSpaceTo(needed / 100 * *hooks_.tightMemoryPercent);
    }

    RunOutcome interrupted(const RunStopped& stopped)
    {
        const char* kept = stopped.saved() ? "the checkpoint holds the work done, run the same test again to resume"
                            : options_.checkpointSeconds == 0 ? "no checkpoint holds the work (checkpoints are off)"
                                                              : "no checkpoint holds the work";
        note("Interrupted at step %llu of %llu: %s (%s)", static_cast<unsigned long long>(stopped.step()),
             static_cast<unsigned long long>(stopped.totalSteps()), kept, checkpoints_->path().c_str());
        return {"", kExitInterrupted};
    }

    LongRunSettings longRunSettings()
    {
        LongRunSettings settings;
        settings.threads = options_.threads;
        settings.checkpoints = checkpoints_->opener();
        settings.report = &hookedReport_;
        settings.stop = &stop_;
        settings.faultAtStep = hooks_.faultAtStep;
        if (options_.proofPower > 0) {
            settings.proofPower = options_.proofPower;
            settings.proofStore = proofFilesBeside(options_.numberFile, options_.proofPower);
        }
        return settings;
    }

    const TesterOptions& options_;
    std::string label_;
    Clock::time_point started_;
    StopRequest& stop_;
    TestHooks hooks_;
    StandardErrorReport report_;
    HookedReport hookedReport_;
    BigInt n_;
    std::optional<CheckpointFile> checkpoints_;
};

}  // namespace

RunOutcome runTester(const TesterOptions& options, const std::string& digits, Clock::time_point started,
                     StopRequest& stop)
{
    // The FFT plans measured by an earlier run are reused, new ones kept.
    struct WisdomForThisRun {
        WisdomFile file;
        WisdomForThisRun() { arithmetic::fft::setWisdomStore(&file); }
        ~WisdomForThisRun() { arithmetic::fft::setWisdomStore(nullptr); }
    } wisdom;
    // Without trial factoring the long test is sure to run: a number whose
    // cheapest test cannot fit is refused before its conversion from
    // decimal, which alone takes a minute at the largest sizes.
    if (options.trialDepth == 0 && !options.trialOnly)
        refuseWithoutRoom(leastTestBytes(digits, options.threads), true);
    return Run(options, digits, started, stop).run();
}

}  // namespace prp
