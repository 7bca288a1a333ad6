#include <cstdio>
#include <memory>
#include <random>

#include "cli/block_search.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/number_input.h"
#include "cli/progress.h"
#include "cli/utf16_text.h"
#include "engine/decimal_text.h"
#include "engine/divisor_test.h"
#include "engine/iconic_candidate.h"
#include "engine/random_candidate.h"
#include "engine/signature_block.h"

namespace cli {

namespace {

using engine::BigInt;

// The window's bounds of an iconic run.
constexpr int64_t kFewestIconicDigits = 10;
constexpr int64_t kMostIconicDigits = 10'000;

// The digits of `allowed` that `typed` holds, in the order of `allowed`: the
// order the window's check boxes give the candidate builder.
std::string digitSet(const std::string& typed, const std::string& allowed, const char* option)
{
    for (char c : typed)
        if (allowed.find(c) == std::string::npos)
            throw BadInput(std::string(option) + " '" + typed + "': only the digits " + allowed + " are allowed");
    std::string set;
    for (char c : allowed)
        if (typed.find(c) != std::string::npos)
            set += c;
    if (set.empty())
        throw BadInput(std::string(option) + " needs at least one digit");
    return set;
}

// Where the searches of one run start from: random candidates as the
// generator builds them, or the iconic run's candidates.
class CandidateSource {
public:
    CandidateSource(const RandomPrimeCommand& command, engine::RandomSource& random) : command_(command), random_(random)
    {
        choices_.startDigits = digitSet(command.startDigits, "1234567890", "--start-digits");
        choices_.finalDigits = digitSet(command.finalDigits, "1379", "--final-digits");
        if (!command.iconicDigit.empty())
            startIconic();
        if (!command.signature.empty())
            encodeSignature();
    }

    bool searchesDownwards() const { return iconic_ && iconic_->searchesDownwards(); }

    std::string next()
    {
        if (!iconic_)
            return engine::buildRandomCandidate(random_, command_.digits, choices_, signatureBlock_);
        for (;;) {
            if (iconic_->exhausted())
                throw BadInput("every tail of this iconic run has been tried");
            if (std::optional<std::string> candidate = iconic_->next(random_))
                return *candidate;
        }
    }

private:
    void startIconic()
    {
        const std::string& digit = command_.iconicDigit;
        if (digit.size() != 1 || digit[0] < '0' || digit[0] > '9')
            throw BadInput("--iconic '" + digit + "': give one digit 0..9");
        if (command_.digits < kFewestIconicDigits || command_.digits > kMostIconicDigits)
            throw BadInput("iconic primes have 10 to 10,000 digits, not " + std::to_string(command_.digits));
        if (!command_.signature.empty())
            throw BadInput("--signature and --iconic cannot be combined");
        iconic_ = std::make_unique<engine::IconicCandidates>(command_.digits, digit[0], choices_.finalDigits);
    }

    void encodeSignature()
    {
        const std::u16string signature = utf16FromUtf8(command_.signature);
        if (!engine::signatureFits(static_cast<int64_t>(signature.size()), command_.digits))
            throw BadInput("a signature of " + std::to_string(signature.size()) + " characters does not fit in " +
                           std::to_string(command_.digits) + " digits (3 digits a character, 12 kept free)");
        signatureBlock_ = engine::encodeSignature(signature);
    }

    const RandomPrimeCommand& command_;
    engine::RandomSource& random_;
    engine::DigitChoices choices_;
    std::string signatureBlock_;
    std::unique_ptr<engine::IconicCandidates> iconic_;
};

uint64_t seedOf(const RandomPrimeCommand& command, Ranks& ranks)
{
    if (command.seed)
        return *command.seed;
    // Every rank must build the same candidates, so the leader's seed is shared.
    std::random_device device;
    uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device();
    return ranks.share(seed, 0);
}

struct Found {
    std::string prime;
    int64_t candidates = 0;
};

// As the generator does: candidates that fail the first check are replaced;
// from the first that passes, the search for the nearest prime starts 2
// before it, so that a candidate that is prime itself is the answer.
Found findPrime(CandidateSource& source, const engine::DivisorProducts& products, Ranks& ranks, Progress& progress)
{
    Found found;
    BigInt candidate;
    for (;;) {
        engine::setFromDecimal(candidate, source.next());
        ++found.candidates;
        if (engine::firstCheck(candidate, products) == 0)
            break;
    }
    const bool down = source.searchesDownwards();
    if (down)
        mpz_add_ui(candidate.get(), candidate.get(), 2);
    else
        mpz_sub_ui(candidate.get(), candidate.get(), 2);
    searchPrime(candidate, down ? engine::SearchDirection::Down : engine::SearchDirection::Up, ranks, progress);
    found.prime = engine::toDecimal(candidate);
    return found;
}

void printFound(const Found& found, const RandomPrimeCommand& command, uint64_t seed, int64_t index)
{
    if (!command.style.json) {
        std::printf("%s\n", shownNumber(found.prime, command.style).c_str());
    } else {
        JsonObject json;
        json.add("command", "random-prime")
            .add("prime", shownNumber(found.prime, command.style))
            .add("digits", static_cast<int64_t>(found.prime.size()))
            .add("candidates", found.candidates)
            .add("seed", std::to_string(seed))
            .add("index", index);
        std::printf("%s\n", json.text().c_str());
    }
    std::fflush(stdout);
}

}  // namespace

int runRandomPrime(const RandomPrimeCommand& command, Ranks& ranks)
{
    checkDigitCount(command.digits, "--digits");
    if (command.count < 1)
        throw BadInput("--count " + std::to_string(command.count) + ": give at least 1");
    const uint64_t seed = seedOf(command, ranks);
    engine::SeededRandomSource random(seed);
    CandidateSource source(command, random);

    const bool quiet = command.style.quiet || !ranks.leader();
    engine::DivisorProducts products;
    {
        Progress building("divisor products", quiet);
        engine::buildDivisorProducts(products);
    }
    for (int64_t i = 1; i <= command.count; ++i) {
        Progress progress("random-prime " + std::to_string(i) + "/" + std::to_string(command.count), quiet);
        Found found = findPrime(source, products, ranks, progress);
        progress.finish();
        if (ranks.leader())
            printFound(found, command, seed, i);
    }
    return ExitFound;
}

}  // namespace cli
