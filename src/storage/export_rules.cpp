#include "storage/export_rules.h"

#include "engine/checked_integer.h"

namespace storage {

namespace {

constexpr size_t kShortLabel = 100;
constexpr size_t kLongLabel = 255;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Runs of blanks become one blank, and the ends are trimmed.
std::string collapsedBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += c;
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// Field k (0-based) of text split at every single blank; "" when missing.
std::string_view field(std::string_view text, int k)
{
    size_t begin = 0;
    for (int i = 0; i < k; ++i) {
        size_t blank = text.find(' ', begin);
        if (blank == std::string_view::npos)
            return {};
        begin = blank + 1;
    }
    return text.substr(begin, text.find(' ', begin) - begin);
}

double fieldValue(std::string_view text, int k)
{
    return static_cast<double>(engine::leadingIntegerClamped(field(text, k), engine::kAnyInteger));
}

ExportCell label(int column, std::string_view text, CellAttributes attributes = cell::Text)
{
    return {column, false, std::string(text), 0.0, attributes};
}

ExportCell number(int column, double value, CellAttributes attributes) { return {column, true, {}, value, attributes}; }

// "Done in 0.125 s at 14:07 h - 12/06/2026" -> "Done in 0.125 s 14:07 h 12/06/2026".
std::string completionText(std::string_view s)
{
    constexpr std::string_view at = " at ";
    const size_t first = s.find(at);
    if (first == std::string_view::npos)
        return std::string(s);
    std::string_view rest = s.substr(first + at.size());
    rest = rest.substr(0, rest.find(at));
    const size_t dash = rest.find(" - ");
    std::string_view clock = rest.substr(0, dash);
    std::string_view date;
    if (dash != std::string_view::npos) {
        date = rest.substr(dash + 3);
        date = date.substr(0, date.find(" - "));
    }
    return std::string(s.substr(0, first)) + " " + std::string(clock) + " " + std::string(date);
}

}  // namespace

ExportRow exportRow(std::string_view line)
{
    const size_t firstNonBlank = line.find_first_not_of(' ');
    const std::string_view s = firstNonBlank == std::string_view::npos ? std::string_view() : line.substr(firstNonBlank);
    ExportRow row;
    auto& cells = row.cells;

    if (startsWith(s, "---"))
        return row;
    if (startsWith(s, "Digit")) {
        int column = 1;
        for (const char* heading : {"Digit", "How many", "Delay", "Minimum", "Maximum"})
            cells.push_back(label(column++, heading, cell::Heading));
        return row;
    }
    if (!s.empty() && s[0] >= '0' && s[0] <= '9') {
        const std::string t = collapsedBlanks(s);
        for (int k = 0; k < 5; ++k)
            cells.push_back(number(k + 1, fieldValue(t, k), cell::Statistic));
        return row;
    }
    if (startsWith(s, "Total  ")) {
        const std::string t = collapsedBlanks(s);
        cells.push_back(label(0, "Total"));
        cells.push_back(number(1, fieldValue(t, 1), cell::Statistic));
        return row;
    }
    if (startsWith(s, "Done")) {
        cells.push_back(label(0, completionText(s)));
        return row;
    }
    if (contains(s, "candidate")) {
        cells.push_back(label(0, s.substr(0, kShortLabel)));
        cells.push_back(number(1, fieldValue(s, 3), cell::Count));
        return row;
    }
    if (contains(s, "Analyzing a")) {
        cells.push_back(label(0, s.substr(0, kShortLabel)));
        cells.push_back(number(1, fieldValue(s, 4), cell::Count));
        return row;
    }
    if (contains(s, "Segment") || contains(s, "This") || contains(s, "patterns")) {
        cells.push_back(label(1, s.substr(0, kShortLabel)));
        return row;
    }
    if (contains(s, "Total d")) {
        cells.push_back(label(0, s.substr(0, kShortLabel)));
        cells.push_back(number(1, fieldValue(s, 2), cell::Count));
        return row;
    }
    if (line.empty()) {
        row.takesRow = false;
        return row;
    }
    cells.push_back(label(0, line.substr(0, kLongLabel)));
    return row;
}

}  // namespace storage
