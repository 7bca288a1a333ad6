#include "arguments.h"

#include <algorithm>
#include <charconv>
#include <thread>

#include "arithmetic/powering_proof.h"

namespace prp {

namespace {

bool noEffect(TesterOptions&, std::optional<uint64_t>) { return true; }

constexpr SwitchRow kSwitches[] = {
    {"-f", SwitchArgument::OptionalNumber, "[<n>]", false,
     "trial factoring by the primes up to n*10^6 (n above 10^6 is taken as 10^6); -f alone: up to 10^7, "
     "the default; -f0: none",
     [](TesterOptions& options, std::optional<uint64_t> n) {
         options.trialDepth = n ? std::min(*n, kMaxTrialDepthFactor) * kTrialDepthUnit : kDefaultTrialDepth;
         return true;
     }},
    {"-o", SwitchArgument::None, "", false,
     "trial factoring only, no PRP test; every factor up to the depth is listed",
     [](TesterOptions& options, std::optional<uint64_t>) {
         options.trialOnly = true;
         return true;
     }},
    {"-b", SwitchArgument::Number, "<base>", true,
     "Fermat test to this base (2 .. 2^32-1); several are tested in turn, all must pass; default base 3",
     [](TesterOptions& options, std::optional<uint64_t> base) {
         if (*base < 2 || *base > 0xFFFFFFFFu)
             return false;
         options.bases.push_back(static_cast<unsigned long>(*base));
         return true;
     }},
    {"-tm", SwitchArgument::None, "", false,
     "when the number is 2^q-1: the Lucas-Lehmer test, which proves it prime or composite; otherwise a "
     "note on standard error and the PRP test",
     [](TesterOptions& options, std::optional<uint64_t>) {
         options.mersenneTest = true;
         return true;
     }},
    {"-T", SwitchArgument::Number, "<n>", false,
     "up to n threads (1 .. 256) for trial factoring and for the arithmetic of the long tests; default: "
     "one per core",
     [](TesterOptions& options, std::optional<uint64_t> n) {
         options.threads = static_cast<unsigned>(std::clamp<uint64_t>(*n, 1, 256));
         return true;
     }},
    {"-C", SwitchArgument::Number, "<seconds>", false,
     "seconds between checkpoints of a long test (default 600); -C0: no checkpoints, none read or written",
     [](TesterOptions& options, std::optional<uint64_t> seconds) {
         options.checkpointSeconds = static_cast<unsigned>(std::min<uint64_t>(*seconds, 1'000'000'000));
         return true;
     }},
    {"-proof", SwitchArgument::NumberOrNext, "<P>", false,
     "the Fermat test also writes a proof of its result, of power P (1 to 16; also -proof P), which "
     "quendrolt-cli verify-proof checks in about 1/2^P of the test's time",
     [](TesterOptions& options, std::optional<uint64_t> power) {
         if (*power < arithmetic::kMinProofPower || *power > arithmetic::kMaxProofPower)
             return false;
         options.proofPower = static_cast<unsigned>(*power);
         return true;
     },
     "a power from 1 to 16"},
    {"-k", SwitchArgument::None, "", false, "accepted, no effect", noEffect},
    {"-d", SwitchArgument::None, "", false, "accepted, no effect", noEffect},
    {"-s", SwitchArgument::AnyText, "<n>", false, "accepted, no effect", noEffect},
    {"-q", SwitchArgument::AnyText, "...", false, "accepted, no effect", noEffect},
};

// Parses the decimal digits of text completely into value.
std::optional<uint64_t> parseNumber(std::string_view text)
{
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The error of a switch that no row takes, or whose number a row refuses.
std::string switchError(std::string_view piece, const SwitchRow* row, std::string_view numberText)
{
    if (row && !row->numberRange.empty())
        return std::string(row->name) + " takes " + std::string(row->numberRange) + ", not \"" +
               std::string(numberText) + "\"";
    return "unknown or malformed switch \"" + std::string(piece) + "\"";
}

// Applies a switch's number given as its own piece.
std::string applyNumberPiece(const SwitchRow& row, std::string_view text, TesterOptions& options)
{
    std::optional<uint64_t> number = parseNumber(text);
    if (number && row.apply(options, number))
        return {};
    return switchError(text, &row, text);
}

// Applies one switch by the first row whose name starts the piece and whose
// argument form fits the rest. Returns an error text, empty when applied;
// `waiting` is set to the row when its number is the next piece.
std::string applySwitch(std::string_view piece, TesterOptions& options, const SwitchRow*& waiting)
{
    for (const SwitchRow& row : kSwitches) {
        if (!piece.starts_with(row.name))
            continue;
        std::string_view rest = piece.substr(row.name.size());
        std::optional<uint64_t> number = parseNumber(rest);
        bool fits = false;
        switch (row.argument) {
        case SwitchArgument::None:
            fits = rest.empty();
            break;
        case SwitchArgument::Number:
            fits = number.has_value();
            break;
        case SwitchArgument::OptionalNumber:
            fits = rest.empty() || number;
            break;
        case SwitchArgument::AnyText:
            fits = true;
            number.reset();
            break;
        case SwitchArgument::NumberOrNext:
            if (rest.empty()) {
                waiting = &row;
                return {};
            }
            fits = number.has_value();
            break;
        }
        if (!fits)
            continue;
        return row.apply(options, number) ? std::string() : switchError(piece, &row, rest);
    }
    return switchError(piece, nullptr, {});
}

std::string switchForm(const SwitchRow& row)
{
    return std::string(row.name) + std::string(row.argumentText);
}

}  // namespace

std::span<const SwitchRow> switchTable() { return kSwitches; }

std::string usageSynopsis(std::string_view program)
{
    std::string text = std::string(program);
    for (const SwitchRow& row : kSwitches)
        text += " [" + switchForm(row) + "]" + (row.accumulates ? "..." : "");
    return text + " <number file>";
}

std::string usageText(std::string_view program)
{
    std::string text = "Usage: " + usageSynopsis(program) + "\n";
    for (const SwitchRow& row : kSwitches) {
        std::string form = switchForm(row);
        text += "  " + form + std::string(std::max<size_t>(form.size() + 2, 14) - form.size(), ' ') +
                std::string(row.meaning) + "\n";
    }
    return text;
}

unsigned defaultThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 256u);
}

ParsedArguments parseArguments(int argc, const char* const* argv)
{
    ParsedArguments parsed;
    std::string& file = parsed.options.numberFile;
    bool inFileName = false;
    const SwitchRow* waiting = nullptr;  // the switch whose number is the next piece
    for (int i = 1; i < argc; ++i) {
        std::string_view word = argv[i];
        if (inFileName) {
            file += ' ';
            file += word;
            continue;
        }
        size_t at = 0;
        while (at < word.size()) {
            if (word[at] == ' ') {
                ++at;
                continue;
            }
            size_t end = std::min(word.find(' ', at), word.size());
            std::string_view piece = word.substr(at, end - at);
            if (waiting) {
                parsed.error = applyNumberPiece(*waiting, piece, parsed.options);
                if (!parsed.error.empty())
                    return parsed;
                waiting = nullptr;
                at = end;
                continue;
            }
            if (piece.front() != '-') {
                file = word.substr(at);
                inFileName = true;
                break;
            }
            parsed.error = applySwitch(piece, parsed.options, waiting);
            if (!parsed.error.empty())
                return parsed;
            at = end;
        }
    }
    // A parameter string that ends in a blank leaves one after the name.
    while (!file.empty() && file.back() == ' ')
        file.pop_back();
    if (waiting) {
        parsed.error = switchError(waiting->name, waiting, "");
        return parsed;
    }
    if (file.empty()) {
        parsed.error = "no number file given";
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}

std::vector<unsigned long> effectiveBases(const TesterOptions& options)
{
    if (options.bases.empty())
        return {3};
    return options.bases;
}

}  // namespace prp
