// factor: trial division as Fact, then for a composite part a short ECM pass
// and PARI's factorint (the quadratic sieve) when its predicted time fits
// the budget, ECM otherwise (sieve_time.h); the whole run within its time
// budget: trial division stops at the deadline, and the steps that cannot be
// stopped halfway (a probable-prime test of a large part, ECM, PARI) run as
// worker processes that are ended at it.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>

#include "cli/command.h"
#include "cli/ecm_search.h"
#include "cli/failure.h"
#include "cli/interrupt.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/option_values.h"
#include "cli/progress.h"
#include "cli/worker_host.h"
#include "cli/quoted_text.h"
#include "cli/sieve_time.h"
#include "engine/decimal_text.h"
#include "engine/decimal_views.h"
#include "engine/trial_factorization.h"
#include "pari_library/integer_factoring.h"

namespace cli {

namespace {

using engine::BigInt;

// As the engine's trial division judges what it leaves, and as ECM judges
// the parts it finds.
constexpr int kRemainderRepetitions = 10;
// ECM ends its curve at the deadline by itself; the worker is killed only
// when a step that cannot look at the clock (a prime test of a large
// cofactor) holds it beyond this.
constexpr int64_t kEcmGraceMs = 1000;

const char* kindWord(PartKind kind)
{
    switch (kind) {
    case PartKind::Prime:
        return "prime";
    case PartKind::Composite:
        return "composite";
    case PartKind::Unknown:
        return "unknown";
    }
    return "unknown";
}

// 0 when every part is prime, 1 when a part is known composite, else 5: a
// part the budget left untested.
[[nodiscard]] ExitStatus exitStatusOf(const std::vector<FactorPart>& parts)
{
    bool composite = false, unknown = false;
    for (const FactorPart& part : parts) {
        composite = composite || part.kind == PartKind::Composite;
        unknown = unknown || part.kind == PartKind::Unknown;
    }
    return composite ? ExitComposite : unknown ? ExitUndecided : ExitFound;
}

class Factoring {
public:
    Factoring(const TimeBudget& budget, int64_t curves, Progress& progress)
        : budget_(budget), curves_(curves), progress_(progress), host_(progress, budget)
    {
    }

    std::vector<FactorPart> parts(const BigInt& n)
    {
        progress_.stage("trial division");
        engine::TrialDivision trial =
            engine::divideOutSmallPrimes(n, engine::kFactorStepLimit, [this](int64_t passes) {
                progress_.update(budget_.fractionUsed());
                (void)passes;
                return !budget_.expired() && !interruptRequested();
            });
        throwIfInterrupted();
        std::vector<FactorPart> found;
        for (uint64_t prime : trial.primes)
            found.push_back({BigInt(prime), PartKind::Prime});
        switch (trial.end) {
        case engine::TrialEnd::Factored:
            break;
        case engine::TrialEnd::RemainderPrime:
        case engine::TrialEnd::BeyondWordPrimes:
            found.push_back({std::move(trial.remainder), PartKind::Prime});
            break;
        case engine::TrialEnd::Stopped:
            found.push_back({std::move(trial.remainder), PartKind::Unknown});
            break;
        case engine::TrialEnd::PassLimit:
            judgeAndSplit(std::move(trial.remainder), found);
            break;
        }
        return found;
    }

private:
    void judgeAndSplit(BigInt remainder, std::vector<FactorPart>& found)
    {
        progress_.stage("probable-prime test of a " + withThousands(static_cast<long long>(engine::decimalLength(remainder))) +
                        "-digit part");
        engine::Verdict verdict = engine::Verdict::NotDone;
        const engine::Outcome outcome =
            engine::runProbablePrime(host_, remainder, kRemainderRepetitions, budget_.remainingMs(), verdict);
        if (outcome != engine::Outcome::Finished) {
            endedEarly(outcome);
            found.push_back({std::move(remainder), PartKind::Unknown});
            return;
        }
        if (verdict != engine::Verdict::NotPrime) {
            found.push_back({std::move(remainder), PartKind::Prime});
            return;
        }
        splitComposite(std::move(remainder), found);
    }

    // A short ECM pass for small factors, then PARI's factorint on what is
    // left, when the sieve's predicted time fits in the budget; otherwise
    // ECM for the rest of it, and PARI for the cofactors that fit then.
    void splitComposite(BigInt composite, std::vector<FactorPart>& found)
    {
        const double sieveSeconds = predictedSieveSeconds(engine::decimalLength(composite));
        const bool sieveFits = sieveSeconds * 1000 <= static_cast<double>(budget_.remainingMs());
        const auto ecmDeadline =
            sieveFits ? std::min(budget_.deadline(),
                                 std::chrono::steady_clock::now() +
                                     std::chrono::milliseconds(static_cast<int64_t>(sieveSeconds * kEcmPassShareOfSieve * 1000)))
                      : budget_.deadline();
        for (FactorPart& part : splitWithEcmWorker(std::move(composite), ecmDeadline)) {
            const bool partFits = predictedSieveSeconds(engine::decimalLength(part.value)) * 1000 <=
                                  static_cast<double>(budget_.remainingMs());
            if (part.kind == PartKind::Composite && partFits)
                factorWithPariWorker(std::move(part.value), found);
            else
                found.push_back(std::move(part));
        }
    }

    // ECM in a worker process until the deadline; its parts come back as
    // numbers and kinds.
    std::vector<FactorPart> splitWithEcmWorker(BigInt composite, std::chrono::steady_clock::time_point deadline)
    {
        progress_.stage("ECM on a " + withThousands(static_cast<long long>(engine::decimalLength(composite))) +
                        "-digit part");
        std::vector<FactorPart> parts;
        const EcmBudget budget{deadline, curves_};
        const int64_t limitMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        const engine::Outcome outcome = engine::runForked(
            host_, engine::WorkerKind::CalculatorOperation, {std::max<int64_t>(limitMs, 0) + kEcmGraceMs, engine::kNoLimit},
            [&](engine::ResultWriter& out) {
                const std::vector<FactorPart> split = splitWithEcm(composite, budget);
                bool written = out.writeInt(static_cast<int64_t>(split.size()));
                for (const FactorPart& part : split)
                    written = written && out.writeBigInt(part.value) && out.writeInt(static_cast<int64_t>(part.kind));
                return written;
            },
            [&](engine::ResultReader& in) {
                int64_t count = 0, kind = 0;
                if (!in.readInt(count) || count < 0)
                    return false;
                for (int64_t i = 0; i < count; ++i) {
                    FactorPart part;
                    if (!in.readBigInt(part.value) || !in.readInt(kind) || kind < 0 || kind > 2)
                        return false;
                    part.kind = static_cast<PartKind>(kind);
                    parts.push_back(std::move(part));
                }
                return true;
            },
            &failure_);
        if (outcome != engine::Outcome::Finished) {
            endedEarly(outcome);
            parts.clear();
            parts.push_back({std::move(composite), PartKind::Composite});
        }
        return parts;
    }

    // PARI's factorint in a worker process, ended when the budget is: it has
    // no stop of its own. Its factors are BPSW probable primes.
    void factorWithPariWorker(BigInt composite, std::vector<FactorPart>& found)
    {
        progress_.stage("PARI's factorint (quadratic sieve) on a " +
                        withThousands(static_cast<long long>(engine::decimalLength(composite))) + "-digit part");
        std::vector<FactorPart> parts;
        const std::string digits = engine::toDecimal(composite);
        const engine::Outcome outcome = engine::runForked(
            host_, engine::WorkerKind::CalculatorOperation, {budget_.remainingMs(), engine::kNoLimit},
            [&](engine::ResultWriter& out) {
                const std::vector<std::string> primes = pari_library::factorCompletely(digits);
                bool written = out.writeInt(static_cast<int64_t>(primes.size()));
                for (const std::string& prime : primes) {
                    BigInt value;
                    engine::setFromDecimal(value, prime);
                    written = written && out.writeBigInt(value);
                }
                return written;
            },
            [&](engine::ResultReader& in) {
                int64_t count = 0;
                if (!in.readInt(count) || count < 1)
                    return false;
                for (int64_t i = 0; i < count; ++i) {
                    FactorPart part{BigInt(), PartKind::Prime};
                    if (!in.readBigInt(part.value))
                        return false;
                    parts.push_back(std::move(part));
                }
                return true;
            },
            &failure_);
        if (outcome != engine::Outcome::Finished) {
            endedEarly(outcome);
            found.push_back({std::move(composite), PartKind::Composite});
            return;
        }
        for (FactorPart& part : parts)
            found.push_back(std::move(part));
    }

    void endedEarly(engine::Outcome outcome)
    {
        switch (outcome) {
        case engine::Outcome::Stopped:
            throw Interrupted();
        case engine::Outcome::Failed:
            progress_.note("factor: " + failure_);
            return;
        case engine::Outcome::Finished:
        case engine::Outcome::NotDone:
        case engine::Outcome::Timeout:
            return;
        }
    }

    void throwIfInterrupted() const
    {
        if (interruptRequested())
            throw Interrupted();
    }

    const TimeBudget& budget_;
    int64_t curves_;
    Progress& progress_;
    CliWorkerHost host_;
    std::string failure_;
};

// Ascending, the way Fact lists them.
void sortParts(std::vector<FactorPart>& parts)
{
    std::sort(parts.begin(), parts.end(),
              [](const FactorPart& a, const FactorPart& b) { return a.value.compare(b.value) < 0; });
}

class FactorCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("number", number_, kNumberHelp)->required();
        entry.add_option("-t,--timeout", timeout_,
                         "seconds for the whole factoring (default 60); parts left untested are shown as unknown");
        entry.add_option("--curves", curves_, "ECM curves at most (default: bounded by the time only)");
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        const double seconds = secondsOption("--timeout", timeout_);
        const int64_t curves = integerOption("--curves", curves_, {0, 1'000'000'000});
        const std::string digits = readNumberArgument(number_);
        if (digits.size() == 1 && digits[0] < '2')
            throw BadInput(digits + " has no prime factors");
        BigInt n;
        engine::setFromDecimal(n, digits);

        const TimeBudget budget(seconds);
        Progress progress("factor", context.style.quiet);
        std::vector<FactorPart> parts;
        {
            // Worker processes are ended, never left running, when the run is.
            PolledInterrupts polled;
            parts = Factoring(budget, curves, progress).parts(n);
        }
        progress.finish();
        sortParts(parts);
        print(digits, parts, context, start);
        return exitStatusOf(parts);
    }

private:
    void print(const std::string& digits, const std::vector<FactorPart>& parts, const RunContext& context,
               std::chrono::steady_clock::time_point start) const
    {
        if (!context.style.json) {
            for (const FactorPart& part : parts)
                printLine(shownNumber(engine::toDecimal(part.value), context.style) + " " + kindWord(part.kind));
            return;
        }
        JsonResult json("factor", context.style);
        Json factors = Json::array();
        for (const FactorPart& part : parts) {
            const Json prime = part.kind == PartKind::Unknown ? Json(nullptr) : Json(part.kind == PartKind::Prime);
            factors.push_back(Json{{"value", json.shown(engine::toDecimal(part.value))}, {"prime", prime}});
        }
        json.number("number", digits)
            .field("digits", digits.size())
            .field("factors", std::move(factors))
            .field("complete", exitStatusOf(parts) == ExitFound);
        json.print(start);
    }

    std::string number_;
    std::string timeout_ = "60";
    std::string curves_ = "0";
};

}  // namespace

std::unique_ptr<Command> makeFactorCommand() { return std::make_unique<FactorCommand>(); }

}  // namespace cli
