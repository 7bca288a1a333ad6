#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/number_input.h"
#include "cli/progress.h"
#include "cli/tester_run.h"
#include "cli/verdict_words.h"
#include "engine/decimal_text.h"
#include "engine/divisor_test.h"

namespace cli {

namespace {

// The window's probable-prime test: GMP with ten repetitions.
constexpr int kRepetitions = 10;

// The window's range of "Large numbers start".
constexpr int64_t kLowestLargeStart = 3000;
constexpr int64_t kHighestLargeStart = 9000;

struct Verdict {
    std::string word;
    int code = VerdictNotDone;
    std::string method;      // "gmp", "first-check" or "tester"
    std::string firstCheck;  // "Approved", "divisor product 1..3", or empty when not run
    std::string testerLine;
};

int exitStatusOf(const Verdict& verdict)
{
    if (verdict.method == "first-check")
        return ExitComposite;
    switch (verdict.code) {
    case VerdictCouldBePrime:
    case VerdictIsPrime:
        return ExitFound;
    case VerdictNotPrime:
    case VerdictComposite:
        return ExitComposite;
    default:
        return ExitUndecided;
    }
}

Verdict probablePrimeVerdict(const engine::BigInt& n, const std::string& method)
{
    Verdict verdict;
    verdict.code = mpz_probab_prime_p(n.get(), kRepetitions);
    verdict.word = verdictWord(verdict.code);
    verdict.method = method;
    return verdict;
}

// Above the large-number limit the window runs the first check, then the
// tester; without a tester the GMP test stands in, and says so.
Verdict largeNumberVerdict(const engine::BigInt& n, const std::string& digits, const TestCommand& command,
                           Progress& progress)
{
    engine::DivisorProducts products;
    engine::buildDivisorProducts(products);
    const int level = engine::firstCheck(n, products);
    if (level != 0) {
        Verdict verdict;
        verdict.word = kDefinitelyNotPrime;
        verdict.code = VerdictNotPrime;
        verdict.method = "first-check";
        verdict.firstCheck = "divisor product " + std::to_string(level);
        return verdict;
    }
    progress.note("First check: Approved");
    std::optional<std::string> tester = command.gmpOnly ? std::nullopt : findTester();
    if (!tester) {
        if (!command.gmpOnly)
            progress.note("note: pfgw64_133mm.exe not found beside quendrolt-cli or in ../libexec/quendrolt/; "
                          "using GMP's probable-prime test");
        Verdict verdict = probablePrimeVerdict(n, "gmp");
        verdict.firstCheck = "Approved";
        return verdict;
    }
    TesterResult run = runTester(*tester, digits);
    Verdict verdict;
    verdict.firstCheck = "Approved";
    verdict.method = "tester";
    if (!run.ran) {
        verdict.word = run.failure;
        verdict.code = -1;
        return verdict;
    }
    verdict.code = run.verdict;
    verdict.word = verdictWord(run.verdict);
    verdict.testerLine = run.resultLine;
    return verdict;
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
    Verdict verdict = large ? largeNumberVerdict(n, digits, command, progress) : probablePrimeVerdict(n, "gmp");
    progress.finish();
    if (verdict.code < 0) {
        std::fprintf(stderr, "quendrolt-cli: the tester failed: %s\n", verdict.word.c_str());
        return ExitInternalError;
    }

    if (command.style.json) {
        JsonObject json;
        json.add("command", "test")
            .add("number", shownNumber(digits, command.style))
            .add("digits", static_cast<int64_t>(digits.size()))
            .add("verdict", verdict.word)
            .add("verdict_code", static_cast<int64_t>(verdict.code))
            .add("method", verdict.method);
        if (!verdict.firstCheck.empty())
            json.add("first_check", verdict.firstCheck);
        if (!verdict.testerLine.empty())
            json.add("tester_line", verdict.testerLine);
        std::printf("%s\n", json.text().c_str());
    } else {
        std::printf("%s: %s\n", shownNumber(digits, command.style).c_str(), verdict.word.c_str());
    }
    return exitStatusOf(verdict);
}

}  // namespace cli
