#include "arguments.h"

#include <algorithm>
#include <charconv>
#include <thread>

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

// Applies one switch by the first row whose name starts the piece and whose
// argument form fits the rest; false when no row takes it.
bool applySwitch(std::string_view piece, TesterOptions& options)
{
    for (const SwitchRow& row : kSwitches) {
        if (!piece.starts_with(row.name))
            continue;
        std::string_view rest = piece.substr(row.name.size());
        std::optional<uint64_t> number = parseNumber(rest);
        switch (row.argument) {
        case SwitchArgument::None:
            if (rest.empty())
                return row.apply(options, std::nullopt);
            break;
        case SwitchArgument::Number:
            if (number)
                return row.apply(options, number);
            break;
        case SwitchArgument::OptionalNumber:
            if (rest.empty() || number)
                return row.apply(options, number);
            break;
        case SwitchArgument::AnyText:
            return row.apply(options, std::nullopt);
        }
    }
    return false;
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
            if (piece.front() != '-') {
                file = word.substr(at);
                inFileName = true;
                break;
            }
            if (!applySwitch(piece, parsed.options)) {
                parsed.error = "unknown or malformed switch \"" + std::string(piece) + "\"";
                return parsed;
            }
            at = end;
        }
    }
    // A parameter string that ends in a blank leaves one after the name.
    while (!file.empty() && file.back() == ' ')
        file.pop_back();
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
