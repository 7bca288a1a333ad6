#include "engine/tester_output.h"

namespace engine {

namespace {

// The keywords of the tester's output, in the order they are looked for.
struct Keyword {
    std::string_view text;
    bool makesResultLine;  // a line holding it is a result line
    bool shortensLine;     // its result line is shown from the keyword on
};

constexpr Keyword kKeywords[] = {
    {.text = "is 3-PRP!", .makesResultLine = true, .shortensLine = true},
    {.text = "is 2-PRP!", .makesResultLine = true, .shortensLine = true},
    {.text = "is 5-PRP!", .makesResultLine = true, .shortensLine = false},
    {.text = "is PRP!", .makesResultLine = true, .shortensLine = false},
    {.text = "is composite", .makesResultLine = true, .shortensLine = true},
    {.text = "has no small factor", .makesResultLine = true, .shortensLine = true},
    {.text = "has factors", .makesResultLine = true, .shortensLine = true},
    {.text = "trial factoring to", .makesResultLine = false, .shortensLine = true},
};

// What the hidden check reads from its result line: each in turn, a later
// match overriding an earlier one.
struct VerdictRule {
    std::string_view text;
    Verdict verdict;
};

constexpr VerdictRule kVerdictRules[] = {
    {.text = "is 3-PRP!", .verdict = Verdict::CouldBePrime},
    {.text = "is 2-PRP!", .verdict = Verdict::CouldBePrime},
    {.text = "is 5-PRP!", .verdict = Verdict::CouldBePrime},
    {.text = "is PRP!", .verdict = Verdict::CouldBePrime},
    {.text = " has no ", .verdict = Verdict::PossiblePrime},
    {.text = "is composite", .verdict = Verdict::IsComposite},
    {.text = " has factors", .verdict = Verdict::IsComposite},
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
    for (const Keyword& keyword : kKeywords)
        if (keyword.makesResultLine && contains(line, keyword.text))
            return true;
    return false;
}

std::string summariseResultLine(std::string_view line)
{
    for (const Keyword& keyword : kKeywords) {
        if (!keyword.shortensLine)
            continue;
        std::string afterBlank(1, ' ');
        afterBlank.append(keyword.text);
        size_t at = line.find(afterBlank);
        if (at != std::string_view::npos)
            return std::string(line.substr(at + 1));
    }
    return std::string(line);
}

Verdict verdictFromResultLine(std::string_view line)
{
    Verdict verdict = Verdict::NotDone;
    for (const VerdictRule& rule : kVerdictRules)
        if (contains(line, rule.text))
            verdict = rule.verdict;
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
