// test: the window's primality check and its verdict words.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <optional>

#include "cli/command.h"
#include "cli/divisor_store.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/option_values.h"
#include "cli/progress.h"
#include "cli/interrupt.h"
#include "cli/tester_run.h"
#include "cli/worker_host.h"
#include "engine/decimal_text.h"
#include "engine/divisor_test.h"
#include "engine/verdict.h"

namespace cli {

namespace {

using engine::Verdict;

// The window's probable-prime test: GMP with ten repetitions.
constexpr int kRepetitions = 10;

// The window's range of "Large numbers start".
constexpr IntegerRange kLargeStarts{3000, 9000};

struct CheckResult {
    std::string word;
    Verdict verdict = Verdict::NotDone;
    std::string method;      // "gmp", "first-check" or "tester"
    std::string firstCheck;  // "Approved", "divisor product 1..3", or empty when not run
    std::string testerLine;
};

[[nodiscard]] ExitStatus exitStatusOf(Verdict verdict)
{
    switch (verdict) {
    case Verdict::CouldBePrime:
    case Verdict::IsPrime:
        return ExitFound;
    case Verdict::NotPrime:
    case Verdict::IsComposite:
        return ExitComposite;
    case Verdict::PossiblePrime:  // no small factor: nothing said about primality
    case Verdict::NoSmallFactor:
    case Verdict::NotDone:
    case Verdict::Timeout:
    case Verdict::Stopped:
        return ExitUndecided;
    }
    return ExitUndecided;
}

void sayTimedOut(double seconds, const char* what)
{
    std::fprintf(stderr, "test: %s was ended at its time limit of %g s, before a verdict\n", what, seconds);
}

class TestCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("number", number_, kNumberHelp)->required();
        entry.add_option("--large-start", largeStart_,
                         "digits above which the first check and the tester decide (default 7000, 3000..9000)");
        entry.add_flag("--gmp-only", gmpOnly_, "GMP's probable-prime test at every size, never the tester");
        entry.add_option("-t,--timeout", timeout_,
                         "seconds the test may run; beyond them it is ended and there is no verdict (status 5; "
                         "default: no limit)");
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        const int64_t largeStart = integerOption("--large-start", largeStart_, kLargeStarts);
        if (timeout_)
            timeoutSeconds_ = secondsOption("--timeout", *timeout_);
        const std::string digits = readNumberArgument(number_);
        engine::BigInt n;
        engine::setFromDecimal(n, digits);

        Progress progress("test", context.style.quiet);
        const bool large = static_cast<int64_t>(digits.size()) > largeStart;
        const CheckResult result = large ? largeNumberVerdict(n, digits, progress) : probablePrimeVerdict(n, progress);
        progress.finish();

        if (!context.style.json) {
            printLine(shownNumber(digits, context.style) + ": " + result.word);
            return exitStatusOf(result.verdict);
        }
        JsonResult json("test", context.style);
        json.number("number", digits)
            .field("digits", digits.size())
            .field("verdict", result.word)
            .field("verdict_code", static_cast<int>(result.verdict))
            .field("method", result.method);
        if (!result.firstCheck.empty())
            json.field("first_check", result.firstCheck);
        if (!result.testerLine.empty())
            json.field("tester_line", result.testerLine);
        json.print(start);
        return exitStatusOf(result.verdict);
    }

private:
    // GMP's test as the window runs it. Under --timeout it runs as a worker
    // process, ended at the limit (or by an interrupt) however long the
    // number; without, in place.
    CheckResult probablePrimeVerdict(const engine::BigInt& n, Progress& progress)
    {
        CheckResult result;
        result.method = "gmp";
        if (!timeoutSeconds_) {
            result.verdict = engine::verdictOfProbablePrimeTest(mpz_probab_prime_p(n.get(), kRepetitions));
            result.word = engine::verdictWord(result.verdict);
            return result;
        }
        const TimeBudget budget(*timeoutSeconds_);
        CliWorkerHost host(progress, budget);
        PolledInterrupts polled;
        const engine::Outcome outcome =
            engine::runProbablePrime(host, n, kRepetitions, budget.remainingMs(), result.verdict);
        switch (outcome) {
        case engine::Outcome::Finished:
            break;
        case engine::Outcome::Timeout:
        case engine::Outcome::NotDone:
            sayTimedOut(*timeoutSeconds_, "GMP's probable-prime test");
            result.verdict = Verdict::Timeout;
            break;
        case engine::Outcome::Stopped:
            throw Interrupted();
        case engine::Outcome::Failed:
            throw InternalFailure("GMP's probable-prime test did not run to its end");
        }
        result.word = engine::verdictWord(result.verdict);
        return result;
    }

    // Above the large-number limit the window runs the first check, then the
    // tester; without a tester the GMP test stands in, and says so.
    CheckResult largeNumberVerdict(const engine::BigInt& n, const std::string& digits, Progress& progress)
    {
        engine::DivisorProducts products;
        loadDivisorProducts(products, progress);
        const int level = engine::firstCheck(n, products);
        if (level != 0) {
            CheckResult result;
            result.word = engine::kDefinitelyNotPrime;
            result.verdict = Verdict::NotPrime;
            result.method = "first-check";
            result.firstCheck = "divisor product " + std::to_string(level);
            return result;
        }
        progress.note("First check: Approved");
        std::optional<std::string> tester = gmpOnly_ ? std::nullopt : findTester();
        if (!tester) {
            if (!gmpOnly_)
                progress.note("note: pfgw64_133mm.exe not found beside quendrolt-cli or in ../libexec/quendrolt/; "
                              "using GMP's probable-prime test");
            CheckResult result = probablePrimeVerdict(n, progress);
            result.firstCheck = "Approved";
            return result;
        }
        const TesterResult run = runTester(*tester, digits, timeoutSeconds_, progress);
        if (run.verdict == Verdict::Timeout)
            sayTimedOut(*timeoutSeconds_, "the tester");
        CheckResult result;
        result.firstCheck = "Approved";
        result.method = "tester";
        result.verdict = run.verdict;
        result.word = engine::verdictWord(run.verdict);
        result.testerLine = run.resultLine;
        return result;
    }

    std::string number_;
    std::string largeStart_ = "7000";
    bool gmpOnly_ = false;
    std::optional<std::string> timeout_;
    std::optional<double> timeoutSeconds_;
};

}  // namespace

std::unique_ptr<Command> makeTestCommand() { return std::make_unique<TestCommand>(); }

}  // namespace cli
