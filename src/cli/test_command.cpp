#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/number_input.h"
#include "cli/progress.h"
#include "cli/tester_run.h"
#include "engine/decimal_text.h"
#include "engine/divisor_test.h"
#include "engine/verdict.h"

namespace cli {

namespace {

using engine::Verdict;

// The window's probable-prime test: GMP with ten repetitions.
constexpr int kRepetitions = 10;

// The line the window's check writes when the first check finds a divisor.

// The window's range of "Large numbers start".
constexpr int64_t kLowestLargeStart = 3000;
constexpr int64_t kHighestLargeStart = 9000;

struct CheckResult {
    std::string word;
    Verdict verdict = Verdict::NotDone;
    bool failed = false;     // the tester did not run to its end; word says why
    std::string method;      // "gmp", "first-check" or "tester"
    std::string firstCheck;  // "Approved", "divisor product 1..3", or empty when not run
    std::string testerLine;
};

int exitStatusOf(const CheckResult& result)
{
    switch (result.verdict) {
    case Verdict::CouldBePrime:
    case Verdict::IsPrime:
        return ExitFound;
    case Verdict::NotPrime:
    case Verdict::IsComposite:
        return ExitComposite;
    default:
        return ExitUndecided;
    }
}

CheckResult probablePrimeVerdict(const engine::BigInt& n, const std::string& method)
{
    CheckResult result;
    result.verdict = engine::verdictOfProbablePrimeTest(mpz_probab_prime_p(n.get(), kRepetitions));
    result.word = engine::verdictWord(result.verdict);
    result.method = method;
    return result;
}

// Above the large-number limit the window runs the first check, then the
// tester; without a tester the GMP test stands in, and says so.
CheckResult largeNumberVerdict(const engine::BigInt& n, const std::string& digits, const TestCommand& command,
                           Progress& progress)
{
    engine::DivisorProducts products;
    engine::buildDivisorProducts(products);
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
    std::optional<std::string> tester = command.gmpOnly ? std::nullopt : findTester();
    if (!tester) {
        if (!command.gmpOnly)
            progress.note("note: pfgw64_133mm.exe not found beside quendrolt-cli or in ../libexec/quendrolt/; "
                          "using GMP's probable-prime test");
        CheckResult result = probablePrimeVerdict(n, "gmp");
        result.firstCheck = "Approved";
        return result;
    }
    TesterResult run = runTester(*tester, digits);
    CheckResult result;
    result.firstCheck = "Approved";
    result.method = "tester";
    if (!run.ran) {
        result.word = run.failure;
        result.failed = true;
        return result;
    }
    result.verdict = run.verdict;
    result.word = engine::verdictWord(run.verdict);
    result.testerLine = run.resultLine;
    return result;
}

}  // namespace

int runTest(const TestCommand& command)
{
    if (command.largeNumbersStart < kLowestLargeStart || command.largeNumbersStart > kHighestLargeStart)
        throw BadInput("--large-start " + std::to_string(command.largeNumbersStart) + " is out of range: " +
                       std::to_string(kLowestLargeStart) + " to " + std::to_string(kHighestLargeStart));
    const std::string digits = readNumberArgument(command.number);
    engine::BigInt n;
    engine::setFromDecimal(n, digits);

    Progress progress("test", command.style.quiet);
    const bool large = static_cast<int64_t>(digits.size()) > command.largeNumbersStart;
    const CheckResult result =
        large ? largeNumberVerdict(n, digits, command, progress) : probablePrimeVerdict(n, "gmp");
    progress.finish();
    if (result.failed) {
        std::fprintf(stderr, "quendrolt-cli: the tester failed: %s\n", result.word.c_str());
        return ExitInternalError;
    }

    if (command.style.json) {
        JsonObject json;
        json.add("command", "test")
            .add("number", shownNumber(digits, command.style))
            .add("digits", static_cast<int64_t>(digits.size()))
            .add("verdict", result.word)
            .add("verdict_code", static_cast<int64_t>(result.verdict))
            .add("method", result.method);
        if (!result.firstCheck.empty())
            json.add("first_check", result.firstCheck);
        if (!result.testerLine.empty())
            json.add("tester_line", result.testerLine);
        std::printf("%s\n", json.text().c_str());
    } else {
        std::printf("%s: %s\n", shownNumber(digits, command.style).c_str(), result.word.c_str());
    }
    return exitStatusOf(result);
}

}  // namespace cli
