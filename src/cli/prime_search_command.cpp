#include <chrono>
#include <cstdio>

#include "cli/block_search.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/number_input.h"
#include "cli/progress.h"
#include "engine/decimal_text.h"
#include "engine/decimal_views.h"

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

}  // namespace

std::string shownNumber(const std::string& digits, const OutputStyle& style)
{
    return style.shortView ? engine::headDotsTail(digits) : digits;
}

int runPrimeSearch(const SearchCommand& command, engine::SearchDirection direction, Ranks& ranks)
{
    const bool up = direction == engine::SearchDirection::Up;
    engine::BigInt n;
    const std::string digits = numberOnEveryRank(command.number, n, ranks);
    if (!up && n.compare(2UL) <= 0)
        throw BadInput("there is no prime below " + engine::toDecimal(n));

    const auto start = std::chrono::steady_clock::now();
    Progress progress(up ? "next-prime" : "prev-prime", command.style.quiet || !ranks.leader());
    searchPrime(n, direction, ranks, progress);
    progress.finish();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ranks.leader())
        return ExitFound;

    const std::string prime = engine::toDecimal(n);
    if (command.style.json) {
        JsonObject json;
        json.add("command", up ? "next-prime" : "prev-prime")
            .add("input_digits", static_cast<int64_t>(digits.size()))
            .add("prime", shownNumber(prime, command.style))
            .add("digits", static_cast<int64_t>(prime.size()))
            .add("ranks", static_cast<int64_t>(ranks.size()))
            .add("seconds", seconds);
        std::printf("%s\n", json.text().c_str());
    } else {
        std::printf("%s\n", shownNumber(prime, command.style).c_str());
    }
    return ExitFound;
}

}  // namespace cli
