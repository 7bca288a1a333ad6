// random-prime: random probable primes of D digits as the generator makes
// them, reproducible from a seed.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>

#include "cli/block_search.h"
#include "cli/command.h"
#include "cli/divisor_store.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/primality_proving.h"
#include "cli/number_input.h"
#include "cli/option_values.h"
#include "cli/progress.h"
#include "cli/quoted_text.h"
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
constexpr IntegerRange kIconicDigits{10, 10'000};
constexpr IntegerRange kPrimesPerRun{1, 1'000'000};

struct RandomPrimeOptions {
    int64_t digits = 0;
    std::string startDigits = "123456789";
    std::string finalDigits = "1379";
    std::string signature;
    std::string iconicDigit;
    std::optional<uint64_t> seed;
    int64_t count = 1;
};

// The digits of `allowed` that `typed` holds, in the order of `allowed`: the
// order the window's check boxes give the candidate builder.
std::string digitSet(const std::string& typed, const std::string& allowed, const char* option)
{
    for (size_t offset = 0; offset < typed.size();) {
        const ShownCharacter c = characterAt(typed, offset);
        if (allowed.find(typed[offset]) == std::string::npos || c.bytes != 1)
            throw BadInput(std::string(option) + " " + quotedText(typed) + ": character '" + c.shown +
                           "'; only the digits " + allowed + " are allowed");
        offset += c.bytes;
    }
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
    CandidateSource(const RandomPrimeOptions& options, engine::RandomSource& random) : options_(options), random_(random)
    {
        // A prime of D digits cannot begin with 0 (the window's box "0" gives
        // a number of D - 1 digits).
        if (options.startDigits.find('0') != std::string::npos)
            throw BadInput("--start-digits " + quotedText(options.startDigits) +
                           ": a number of D digits cannot begin with 0; give some of the digits 123456789");
        choices_.startDigits = digitSet(options.startDigits, "123456789", "--start-digits");
        choices_.finalDigits = digitSet(options.finalDigits, "1379", "--final-digits");
        if (!options.iconicDigit.empty())
            startIconic();
        if (!options.signature.empty())
            encodeSignature();
    }

    bool searchesDownwards() const { return iconic_ && iconic_->searchesDownwards(); }

    std::string next()
    {
        if (!iconic_)
            return engine::buildRandomCandidate(random_, options_.digits, choices_, signatureBlock_);
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
        const std::string& digit = options_.iconicDigit;
        if (digit.size() != 1 || digit[0] < '0' || digit[0] > '9')
            throw BadInput("--iconic " + quotedText(digit) + ": give one digit 0..9");
        if (options_.digits < kIconicDigits.fewest || options_.digits > kIconicDigits.most)
            throw BadInput("iconic primes have 10 to 10,000 digits, not " + withThousands(options_.digits));
        if (!options_.signature.empty())
            throw BadInput("--signature and --iconic cannot be combined");
        iconic_ = std::make_unique<engine::IconicCandidates>(options_.digits, digit[0], choices_.finalDigits);
    }

    void encodeSignature()
    {
        const std::u16string signature = utf16FromUtf8(options_.signature);
        if (!engine::signatureFits(static_cast<int64_t>(signature.size()), options_.digits))
            throw BadInput("a signature of " + std::to_string(signature.size()) + " characters does not fit in " +
                           withThousands(options_.digits) + " digits (3 digits a character, 12 kept free)");
        signatureBlock_ = engine::encodeSignature(signature);
    }

    const RandomPrimeOptions& options_;
    engine::RandomSource& random_;
    engine::DigitChoices choices_;
    std::string signatureBlock_;
    std::unique_ptr<engine::IconicCandidates> iconic_;
};

struct Found {
    std::string prime;
    int64_t candidates = 0;
};

// As the generator does: candidates that fail the first check are replaced;
// from the first that passes, the search for the nearest prime starts 2
// before it, so that a candidate that is prime itself is the answer.
Found findPrime(CandidateSource& source, const engine::DivisorProducts& products, Ranks& ranks, unsigned threads,
                Progress& progress)
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
    searchPrime(candidate, down ? engine::SearchDirection::Down : engine::SearchDirection::Up, ranks, threads, progress);
    found.prime = engine::toDecimal(candidate);
    return found;
}

class RandomPrimeCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("-d,--digits", digits_, "digits of the prime, 3 to 78,000,000")->required();
        entry.add_option("--start-digits", options_.startDigits, "valid first digits among 123456789 (default all)");
        entry.add_option("--final-digits", options_.finalDigits, "valid final digits among 1379 (default 1379)");
        entry.add_option("--signature", options_.signature, "text written into the digits after the first");
        entry.add_option("--iconic", options_.iconicDigit, "iconic prime: this digit repeated, then a short random tail");
        entry.add_option("--seed", seed_,
                         "seed of the random digits, 0 to 2^64-1: the same seed gives the same primes "
                         "(default: a fresh one, shown on standard error)");
        entry.add_option("-n,--count", count_, "how many primes (default 1)");
        describeProveOptions(entry, prove_);
    }

    ExitStatus run(RunContext& context) override
    {
        readOptions();
        Ranks& ranks = context.ranks;
        const uint64_t seed = seedOfRun(ranks);
        engine::SeededRandomSource random(seed);
        CandidateSource source(options_, random);
        if (!options_.seed && ranks.leader())
            std::fprintf(stderr, "random-prime: seed %llu (--seed %llu repeats this run)\n",
                         static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));

        const bool quiet = context.style.quiet || !ranks.leader();
        engine::DivisorProducts products;
        {
            Progress loading("divisor products", quiet);
            loadDivisorProducts(products, loading);
        }
        ExitStatus status = ExitFound;
        for (int64_t i = 1; i <= options_.count; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Progress progress("random-prime " + std::to_string(i) + "/" + std::to_string(options_.count), quiet);
            const Found found = findPrime(source, products, ranks, context.threads, progress);
            progress.finish();
            if (!ranks.leader())
                continue;
            std::optional<ProvenVerdict> proven;
            std::string certificate = prove_.certificatePath;
            if (!certificate.empty() && options_.count > 1)
                certificate += "." + std::to_string(i);
            if (prove_.wanted())
                proven = proveFoundPrime(found.prime, certificate, context.style.quiet);
            print(found, proven, certificate, context, seed, i, start);
            if (proven && !proven->prime)
                status = ExitComposite;
        }
        return status;
    }

private:
    void readOptions()
    {
        options_.digits = integerOption("--digits", digits_, {kFewestDigits, kMostDigits});
        options_.count = integerOption("--count", count_, kPrimesPerRun);
        if (seed_)
            options_.seed = seedOption(*seed_);
    }

    // Every rank must build the same candidates, so the leader's seed is
    // shared. A seed drawn here is shown on standard error, so that the run
    // can be repeated.
    uint64_t seedOfRun(Ranks& ranks) const
    {
        if (options_.seed)
            return *options_.seed;
        std::random_device device;
        return ranks.share((static_cast<uint64_t>(device()) << 32) ^ device(), 0);
    }

    void print(const Found& found, const std::optional<ProvenVerdict>& proven, const std::string& certificate,
               const RunContext& context, uint64_t seed, int64_t index, std::chrono::steady_clock::time_point start) const
    {
        if (!context.style.json) {
            printLine(shownNumber(found.prime, context.style) + (proven ? " " + verdictText(*proven) : ""));
            return;
        }
        JsonResult json("random-prime", context.style);
        json.field("digits", options_.digits)
            .number("prime", found.prime)
            .field("prime_digits", found.prime.size())
            .field("candidates", found.candidates)
            .field("seed", std::to_string(seed))
            .field("index", index)
            .field("count", options_.count)
            .field("ranks", context.ranks.size());
        if (proven)
            addProofFields(json, *proven, certificate);
        json.print(start);
    }

    RandomPrimeOptions options_;
    ProveRequest prove_;
    std::string digits_;
    std::optional<std::string> seed_;
    std::string count_ = "1";
};

}  // namespace

std::unique_ptr<Command> makeRandomPrimeCommand() { return std::make_unique<RandomPrimeCommand>(); }

}  // namespace cli
