// next-prime and prev-prime: the calculator's NextP and PrevP.
#include <CLI/CLI.hpp>
#include <chrono>

#include "cli/block_search.h"
#include "cli/command.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/primality_proving.h"
#include "cli/progress.h"
#include "engine/decimal_text.h"

namespace cli {

namespace {

// The leader reads the number and hands it to the other ranks: under mpirun
// only rank 0 has the standard input, and on a cluster only its node may see
// the file. A bad number ends every rank with the leader's message.
std::string numberOnEveryRank(const std::string& argument, engine::BigInt& n, Ranks& ranks)
{
    std::string digits, fault;
    if (ranks.leader()) {
        try {
            digits = readNumberArgument(argument);
            engine::setFromDecimal(n, digits);
        } catch (const BadInput& error) {
            fault = error.what();
        }
    }
    if (ranks.share(static_cast<uint64_t>(fault.empty()), 0) == 0)
        throw BadInput(fault);
    ranks.share(n, 0);
    return digits;
}

class PrimeSearchCommand : public Command {
public:
    explicit PrimeSearchCommand(engine::SearchDirection direction) : direction_(direction) {}

    void describe(CLI::App& entry) override
    {
        entry.add_option("number", number_, kNumberHelp)->required();
        describeProveOptions(entry, prove_);
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        const bool up = direction_ == engine::SearchDirection::Up;
        const char* name = up ? "next-prime" : "prev-prime";
        engine::BigInt n;
        const std::string digits = numberOnEveryRank(number_, n, context.ranks);
        if (!up && n.compare(2UL) <= 0)
            throw BadInput("there is no prime below " + engine::toDecimal(n));

        Progress progress(name, context.style.quiet || !context.ranks.leader());
        searchPrime(n, direction_, context.ranks, context.threads, progress);
        progress.finish();
        if (!context.ranks.leader())
            return ExitFound;

        const std::string prime = engine::toDecimal(n);
        std::optional<ProvenVerdict> proven;
        if (prove_.wanted())
            proven = proveFoundPrime(prime, prove_.certificatePath, context.style.quiet);
        const ExitStatus status = proven && !proven->prime ? ExitComposite : ExitFound;
        if (!context.style.json) {
            printLine(shownNumber(prime, context.style) + (proven ? " " + verdictText(*proven) : ""));
            return status;
        }
        JsonResult json(name, context.style);
        json.number("number", digits)
            .field("digits", digits.size())
            .number("prime", prime)
            .field("prime_digits", prime.size())
            .field("ranks", context.ranks.size());
        if (proven)
            addProofFields(json, *proven, prove_.certificatePath);
        json.print(start);
        return status;
    }

private:
    engine::SearchDirection direction_;
    std::string number_;
    ProveRequest prove_;
};

}  // namespace

std::unique_ptr<Command> makeNextPrimeCommand()
{
    return std::make_unique<PrimeSearchCommand>(engine::SearchDirection::Up);
}

std::unique_ptr<Command> makePrevPrimeCommand()
{
    return std::make_unique<PrimeSearchCommand>(engine::SearchDirection::Down);
}

}  // namespace cli
