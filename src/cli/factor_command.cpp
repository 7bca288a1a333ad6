// factor: trial division as Fact, then ECM on what is left.
#include <CLI/CLI.hpp>
#include <chrono>
#include <sstream>

#include "cli/command.h"
#include "cli/ecm_search.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/option_values.h"
#include "cli/progress.h"
#include "engine/decimal_text.h"
#include "engine/trial_factorization.h"

namespace cli {

namespace {

// The entries of Fact's list: "p p q" with a composite remainder in brackets.
std::vector<FactorPart> trialParts(const engine::TrialFactorization& trial, std::string& remainder)
{
    std::vector<FactorPart> parts;
    std::istringstream entries(trial.factors);
    std::string entry;
    while (entries >> entry) {
        if (entry.front() == '[')
            remainder = entry.substr(1, entry.size() - 2);
        else
            parts.push_back({entry, true});
    }
    return parts;
}

class FactorCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("number", number_, kNumberHelp)->required();
        entry.add_option("-t,--timeout", timeout_, "seconds of ECM at most (default 60)");
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
        engine::BigInt n;
        engine::setFromDecimal(n, digits);

        Progress progress("factor", context.style.quiet);
        std::string remainder;
        std::vector<FactorPart> parts = trialParts(engine::factorByTrialDivision(n), remainder);
        if (!remainder.empty()) {
            std::vector<FactorPart> more = splitWithEcm(remainder, {seconds, curves}, progress);
            parts.insert(parts.end(), more.begin(), more.end());
        }
        progress.finish();
        print(digits, parts, context, start);
        for (const FactorPart& part : parts)
            if (!part.prime)
                return ExitComposite;
        return ExitFound;
    }

private:
    void print(const std::string& digits, const std::vector<FactorPart>& parts, const RunContext& context,
               std::chrono::steady_clock::time_point start) const
    {
        if (!context.style.json) {
            for (const FactorPart& part : parts)
                printLine(shownNumber(part.value, context.style) + (part.prime ? " prime" : " composite"));
            return;
        }
        bool complete = true;
        JsonResult json("factor", context.style);
        Json factors = Json::array();
        for (const FactorPart& part : parts) {
            factors.push_back(Json{{"value", json.shown(part.value)}, {"prime", part.prime}});
            complete = complete && part.prime;
        }
        json.number("number", digits).field("digits", digits.size()).field("factors", std::move(factors));
        json.field("complete", complete);
        json.print(start);
    }

    std::string number_;
    std::string timeout_ = "60";
    std::string curves_ = "0";
};

}  // namespace

std::unique_ptr<Command> makeFactorCommand() { return std::make_unique<FactorCommand>(); }

}  // namespace cli
