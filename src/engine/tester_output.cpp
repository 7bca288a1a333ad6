#include "engine/tester_output.h"

#include <array>


namespace engine {

namespace {

constexpr std::array<std::string_view, 7> kResultKeywords = {
    "is 3-PRP!", "is 2-PRP!", "is 5-PRP!", "is PRP!", "is composite", "has no small factor", "has factors",
};

// "is 5-PRP!" and "is PRP!" are not shortened: their lines are shown whole.
constexpr std::array<std::string_view, 6> kSummaryKeywords = {
    "is 3-PRP!", "is 2-PRP!", "is composite", "has no small factor", "has factors", "trial factoring to",
};

constexpr std::array<std::string_view, 4> kProbablePrimeKeywords = {"is 3-PRP!", "is 2-PRP!", "is 5-PRP!", "is PRP!"};

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

Verdict verdictFromResultLine(std::string_view line)
{
    Verdict verdict = Verdict::NotDone;
    for (std::string_view keyword : kProbablePrimeKeywords)
        if (contains(line, keyword))
            verdict = Verdict::CouldBePrime;
    if (contains(line, " has no "))
        verdict = Verdict::PossiblePrime;
    if (contains(line, "is composite") || contains(line, " has factors"))
        verdict = Verdict::IsComposite;
    return verdict;
}

std::optional<std::string> progressSummary(std::string_view line)
{
    const size_t done = line.find("% done");
    const size_t left = line.rfind(" left");
    if (done == std::string_view::npos || left == std::string_view::npos || left < done)
        return std::nullopt;
    size_t percentStart = line.find_last_of(' ', done);
    percentStart = percentStart == std::string_view::npos ? 0 : percentStart + 1;
    const size_t timeStart = line.find_last_of(' ', left - 1) + 1;
    const std::string_view kind = line.starts_with("Lucas-Lehmer") ? "LL " : "PRP ";
    return std::string(kind) + std::string(line.substr(percentStart, done + 1 - percentStart)) + ", " +
           std::string(line.substr(timeStart, left - timeStart)) + " left";
}

}  // namespace engine
