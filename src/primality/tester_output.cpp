#include "primality/tester_output.h"

#include <array>


namespace primality {

namespace {

constexpr std::array<std::string_view, 7> kResultKeywords = {
    "is 3-PRP!", "is 2-PRP!", "is 5-PRP!", "is PRP!", "is composite", "has no small factor", "has factors",
};

// "is 5-PRP!" and "is PRP!" are not shortened: their lines are shown whole.
constexpr std::array<std::string_view, 6> kSummaryKeywords = {
    "is 3-PRP!", "is 2-PRP!", "is composite", "has no small factor", "has factors", "trial factoring to",
};

constexpr std::array<std::string_view, 4> kProbablePrimeKeywords = {"is 3-PRP!", "is 2-PRP!", "is 5-PRP!", "is PRP!"};

constexpr std::array<std::string_view, 10> kTestModeSwitches = {
    "-o -f ", "-f0 ", "-f -s0 ", "-o -f1000 -s0 ", "-f0 -b2 ", "-f0 -b3 ", "-f0 -b5 ", "-f0 -b2 -b3 ", "-tm ",
    "-o -f1000 -d -s0 ",
};

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string cleanOutputLine(std::string_view raw)
{
    std::string line;
    line.reserve(raw.size());
    for (char c : raw)
        if (c != '\r' && c != '\n')
            line.push_back(c);
    size_t first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    size_t end = line.size();
    while (end > first && isBlank(line[end - 1]))
        --end;
    return line.substr(first, end - first);
}

bool isResultLine(std::string_view line)
{
    for (std::string_view keyword : kResultKeywords)
        if (contains(line, keyword))
            return true;
    return false;
}

std::string summariseResultLine(std::string_view line)
{
    for (std::string_view keyword : kSummaryKeywords) {
        std::string afterBlank(1, ' ');
        afterBlank.append(keyword);
        size_t at = line.find(afterBlank);
        if (at != std::string_view::npos)
            return std::string(line.substr(at + 1));
    }
    return std::string(line);
}

engine::Verdict verdictFromResultLine(std::string_view line)
{
    engine::Verdict verdict = engine::Verdict::NotDone;
    for (std::string_view keyword : kProbablePrimeKeywords)
        if (contains(line, keyword))
            verdict = engine::Verdict::CouldBePrime;
    if (contains(line, " has no "))
        verdict = engine::Verdict::PossiblePrime;
    if (contains(line, "is composite") || contains(line, " has factors"))
        verdict = engine::Verdict::IsComposite;
    return verdict;
}

std::string_view testModeSwitches(int index)
{
    if (index < 0 || index >= static_cast<int>(kTestModeSwitches.size()))
        return {};
    return kTestModeSwitches[static_cast<size_t>(index)];
}

}  // namespace primality
