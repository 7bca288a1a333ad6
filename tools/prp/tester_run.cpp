#include "tester_run.h"

#include <cstdlib>
#include <optional>

#include "arithmetic/big_integer.h"
#include "arithmetic/fermat_test.h"
#include "arithmetic/lucas_lehmer.h"
#include "checkpoint_file.h"
#include "engine/decimal_text.h"
#include "progress.h"
#include "proof_files.h"
#include "result_line.h"
#include "trial_factoring.h"

namespace prp {

namespace {

using arithmetic::BigInt;
using Clock = std::chrono::steady_clock;
using namespace arithmetic;

// Test-only: QUENDROLT_PRP_FAULT_AT_STEP=<k> makes the long tests corrupt
// their residue once, at step k, so that tests can watch the error checks
// at work (arithmetic/fault_injection.h). Read here and nowhere else.
std::optional<uint64_t> faultStepFromEnvironment()
{
    const char* text = std::getenv("QUENDROLT_PRP_FAULT_AT_STEP");
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    uint64_t step = std::strtoull(text, &end, 10);
    return *end == '\0' ? std::optional<uint64_t>(step) : std::nullopt;
}

class Run {
public:
    Run(const TesterOptions& options, const std::string& digits, Clock::time_point started)
        : options_(options), label_(numberLabel(digits)), started_(started)
    {
        engine::setFromDecimal(n_, digits);
    }

    RunOutcome run()
    {
        if (n_.compare(2) < 0)
            return {belowTwoLine(label_), kExitComposite};
        if (options_.trialDepth > 0 || options_.trialOnly) {
            if (std::optional<RunOutcome> decided = trialFactoring())
                return *decided;
        }
        unsigned long q = 0;
        if (options_.mersenneTest) {
            if (isMersenneNumber(n_.get(), q))
                return mersenneTest(q);
            note("%s is not of the form 2^q-1: running the PRP test instead", label_.c_str());
        }
        return fermatTests();
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
        note("Lucas-Lehmer test of 2^%lu-1", q);
        if (options_.proofPower > 0)
            note("No proof file: the Lucas-Lehmer test proves its verdict itself; -proof is for the PRP test");
        LucasLehmerOutcome outcome = lucasLehmer(q, longRunSettings());
        double overhead = secondsSince(started_) - outcome.seconds;
        if (outcome.prime)
            return {provenPrimeLine(label_, "the Lucas-Lehmer test", outcome.seconds, overhead), kExitProbablePrime};
        return {compositeLine(label_, outcome.res64, outcome.seconds, overhead), kExitComposite};
    }

    RunOutcome fermatTests()
    {
        double testSeconds = 0;
        unsigned long lastBase = 0;
        for (unsigned long base : effectiveBases(options_)) {
            note("Fermat PRP test to base %lu", base);
            FermatOutcome outcome = fermatTest(n_.get(), base, longRunSettings());
            testSeconds += outcome.seconds;
            if (options_.proofPower > 0 && !outcome.proofKept)
                note("No proof of the test to base %lu was written", base);
            if (!outcome.probablePrime)
                return {compositeLine(label_, outcome.res64, testSeconds, secondsSince(started_) - testSeconds),
                        kExitComposite};
            lastBase = base;
        }
        return {probablePrimeLine(label_, lastBase, testSeconds, secondsSince(started_) - testSeconds),
                kExitProbablePrime};
    }

    LongRunSettings longRunSettings()
    {
        LongRunSettings settings;
        settings.threads = options_.threads;
        settings.checkpoints = checkpointFilesBeside(options_.numberFile, static_cast<double>(options_.checkpointSeconds));
        settings.report = &report_;
        settings.faultAtStep = faultStepFromEnvironment();
        if (options_.proofPower > 0) {
            settings.proofPower = options_.proofPower;
            settings.proofStore = proofFilesBeside(options_.numberFile, options_.proofPower);
        }
        return settings;
    }

    const TesterOptions& options_;
    std::string label_;
    Clock::time_point started_;
    BigInt n_;
    StandardErrorReport report_;
};

}  // namespace

RunOutcome runTester(const TesterOptions& options, const std::string& digits, Clock::time_point started)
{
    return Run(options, digits, started).run();
}

}  // namespace prp
