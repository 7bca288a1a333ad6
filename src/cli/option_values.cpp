#include "cli/option_values.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "cli/failure.h"
#include "cli/quoted_text.h"

namespace cli {

namespace {

constexpr double kMostSeconds = 365.0 * 24 * 3600;
// More threads than cores only share them; the bound keeps a typing slip
// from starting thousands.
constexpr IntegerRange kThreads{1, 1024};

bool allDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::string named(const char* option, const std::string& text) { return std::string(option) + " " + quotedText(text); }

}  // namespace

int64_t integerOption(const char* option, const std::string& text, IntegerRange range)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string magnitude = negative ? text.substr(1) : text;
    if (!allDigits(magnitude))
        throw BadInput(named(option, text) + " is not a whole number");
    const std::string outOfRange =
        named(option, text) + " is out of range: " + withThousands(range.fewest) + " to " + withThousands(range.most);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < range.fewest || value > range.most)
        throw BadInput(outOfRange);
    return value;
}

uint64_t seedOption(const std::string& text)
{
    if (!allDigits(text))
        throw BadInput(named("--seed", text) + " is not a whole number from 0 to 18446744073709551615");
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw BadInput(named("--seed", text) + " is out of range: 0 to 18446744073709551615");
    return value;
}

unsigned searchThreads(const std::optional<std::string>& typed, int ranks)
{
    if (typed)
        return static_cast<unsigned>(integerOption("--threads", *typed, kThreads));
    // Under mpirun the ranks are the unit of parallelism: one per core.
    return ranks > 1 ? 1 : 0;
}

double secondsOption(const char* option, const std::string& text)
{
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw BadInput(named(option, text) + " is not a number of seconds");
    if (value <= 0 || value > kMostSeconds)
        throw BadInput(named(option, text) + " is out of range: more than 0 and at most " +
                       withThousands(static_cast<long long>(kMostSeconds)) + " seconds");
    return value;
}

}  // namespace cli
