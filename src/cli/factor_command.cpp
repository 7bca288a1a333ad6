#include <cstdio>
#include <sstream>

#include "cli/commands.h"
#include "cli/ecm_search.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/number_input.h"
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

void printParts(const std::string& digits, const std::vector<FactorPart>& parts, const FactorCommand& command)
{
    bool complete = true;
    for (const FactorPart& part : parts)
        complete = complete && part.prime;
    if (!command.style.json) {
        for (const FactorPart& part : parts)
            std::printf("%s %s\n", shownNumber(part.value, command.style).c_str(), part.prime ? "prime" : "composite");
        return;
    }
    std::vector<std::string> factors;
    for (const FactorPart& part : parts)
        factors.push_back(JsonObject().add("value", part.value).add("prime", part.prime).text());
    JsonObject json;
    json.add("command", "factor")
        .add("number", shownNumber(digits, command.style))
        .add("digits", static_cast<int64_t>(digits.size()))
        .addRaw("factors", jsonArray(factors))
        .add("complete", complete);
    std::printf("%s\n", json.text().c_str());
}

}  // namespace

int runFactor(const FactorCommand& command)
{
    if (command.timeoutSeconds <= 0)
        throw BadInput("--timeout must be more than 0 seconds");
    if (command.curves < 0)
        throw BadInput("--curves must be 0 (no bound) or more");
    const std::string digits = readNumberArgument(command.number);
    if (digits.size() == 1 && digits[0] < '2')
        throw BadInput(digits + " has no prime factors");
    engine::BigInt n;
    engine::setFromDecimal(n, digits);

    Progress progress("factor", command.style.quiet);
    std::string remainder;
    std::vector<FactorPart> parts = trialParts(engine::factorByTrialDivision(n), remainder);
    if (!remainder.empty()) {
        std::vector<FactorPart> more = splitWithEcm(remainder, {command.timeoutSeconds, command.curves}, progress);
        parts.insert(parts.end(), more.begin(), more.end());
    }
    progress.finish();
    printParts(digits, parts, command);
    for (const FactorPart& part : parts)
        if (!part.prime)
            return ExitComposite;
    return ExitFound;
}

}  // namespace cli
