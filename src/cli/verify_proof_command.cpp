// verify-proof: checks the proof a Fermat test of the tester left (-proof P)
// against the number, in about 1/2^P of the test's time.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cinttypes>
#include <cstdio>

#include "arithmetic/fft_plans.h"
#include "cli/command.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/progress.h"
#include "cli/proof_verification.h"
#include "engine/decimal_text.h"

namespace cli {

namespace {

// Below this the check takes seconds at most, less than FFTW's measured
// planning (up to 8 s a length): plans are estimated instead.
constexpr size_t kMeasuredPlansFromDigits = 1'000'000;

class VerifyProofCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("proof", proofPath_, "the proof file (<number file>.b<base>.proof)")->required();
        entry.add_option("number", number_,
                         "the number (digits, @FILE or -); default: the number file the proof's name comes from");
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        std::string argument = number_;
        if (argument.empty()) {
            const std::string numberFile = numberFileOfProof(proofPath_);
            if (numberFile.empty())
                throw BadInput("name the number: " + proofPath_ +
                               " is not named <number file>.b<base>.proof, so its number file is unknown");
            argument = "@" + numberFile;
        }
        const std::string digits = readNumberArgument(argument);
        engine::BigInt n;
        engine::setFromDecimal(n, digits);
        if (digits.size() < kMeasuredPlansFromDigits)
            arithmetic::fft::setPlanning(arithmetic::fft::Planning::Estimate);

        Progress progress("verify-proof", context.style.quiet);
        progress.stage("checking the proof");
        ProofFileVerdict verdict = verifyProofFile(proofPath_, n, 0);
        progress.finish();

        char res64[17];
        std::snprintf(res64, sizeof res64, "%016" PRIX64, verdict.res64);
        const std::string proofWords = "(the proof of power " + std::to_string(verdict.power) + " holds)";
        if (!context.style.json) {
            const std::string shown = shownNumber(digits, context.style);
            if (!verdict.holds)
                printLine(shown + ": the proof does not hold: " + verdict.reason);
            else if (verdict.probablePrime)
                printLine(shown + " is " + std::to_string(verdict.base) + "-PRP! " + proofWords);
            else
                printLine(shown + " is composite: RES64: [" + res64 + "] " + proofWords);
        } else {
            JsonResult json("verify-proof", context.style);
            json.number("number", digits)
                .field("digits", digits.size())
                .field("holds", verdict.holds)
                .field("base", verdict.base)
                .field("power", verdict.power);
            if (verdict.holds)
                json.field("probable_prime", verdict.probablePrime).field("res64", std::string(res64));
            else
                json.field("reason", verdict.reason);
            json.print(start);
        }
        if (!verdict.holds)
            return ExitUndecided;
        return verdict.probablePrime ? ExitFound : ExitComposite;
    }

private:
    std::string proofPath_;
    std::string number_;
};

}  // namespace

std::unique_ptr<Command> makeVerifyProofCommand() { return std::make_unique<VerifyProofCommand>(); }

}  // namespace cli
