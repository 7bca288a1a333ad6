#include "arguments.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <thread>

#include "arithmetic/powering_proof.h"

namespace prp {

namespace {

// Parses the decimal digits of text completely into value.
bool parseNumber(std::string_view text, uint64_t& value)
{
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

constexpr std::string_view kProofSwitch = "-proof";

std::string applyProofPower(std::string_view text, TesterOptions& options)
{
    uint64_t power = 0;
    if (!parseNumber(text, power) || power < arithmetic::kMinProofPower || power > arithmetic::kMaxProofPower)
        return "-proof takes a power from " + std::to_string(arithmetic::kMinProofPower) + " to " +
               std::to_string(arithmetic::kMaxProofPower) + ", not \"" + std::string(text) + "\"";
    options.proofPower = static_cast<unsigned>(power);
    return {};
}

// Applies one switch; returns an error text, empty when the switch is known.
std::string applySwitch(std::string_view word, TesterOptions& options)
{
    uint64_t value = 0;
    if (word == "-k" || word == "-d" || word.starts_with("-s") || word.starts_with("-q"))
        return {};  // accepted for compatibility, no effect here
    if (word == "-o") {
        options.trialOnly = true;
        return {};
    }
    if (word == "-tm") {
        options.mersenneTest = true;
        return {};
    }
    if (word == "-f") {
        options.trialDepth = kDefaultTrialDepth;
        return {};
    }
    if (word.starts_with("-f") && parseNumber(word.substr(2), value)) {
        options.trialDepth = std::min(value, kMaxTrialDepthFactor) * kTrialDepthUnit;
        return {};
    }
    if (word.starts_with("-T") && parseNumber(word.substr(2), value)) {
        options.threads = static_cast<unsigned>(std::clamp<uint64_t>(value, 1, 256));
        return {};
    }
    if (word.starts_with("-C") && parseNumber(word.substr(2), value)) {
        options.checkpointSeconds = static_cast<unsigned>(std::min<uint64_t>(value, 1'000'000'000));
        return {};
    }
    if (word.starts_with("-b") && parseNumber(word.substr(2), value) && value >= 2 && value <= 0xFFFFFFFFu) {
        options.bases.push_back(static_cast<unsigned long>(value));
        return {};
    }
    if (word.starts_with("-proof") && word.size() > 6)
        return applyProofPower(word.substr(6), options);
    return "unknown or malformed switch \"" + std::string(word) + "\"";
}

}  // namespace

unsigned defaultThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 256u);
}

ParsedArguments parseArguments(int argc, const char* const* argv)
{
    ParsedArguments parsed;
    std::string& file = parsed.options.numberFile;
    bool inFileName = false;
    bool proofPowerNext = false;  // the piece after "-proof"
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
            if (proofPowerNext || piece == kProofSwitch) {
                parsed.error = proofPowerNext ? applyProofPower(piece, parsed.options) : "";
                if (!parsed.error.empty())
                    return parsed;
                proofPowerNext = !proofPowerNext;
                at = end;
                continue;
            }
            if (piece.front() != '-') {
                file = word.substr(at);
                inFileName = true;
                break;
            }
            parsed.error = applySwitch(piece, parsed.options);
            if (!parsed.error.empty())
                return parsed;
            at = end;
        }
    }
    // A parameter string that ends in a blank leaves one after the name.
    while (!file.empty() && file.back() == ' ')
        file.pop_back();
    if (proofPowerNext) {
        parsed.error = applyProofPower("", parsed.options);
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
