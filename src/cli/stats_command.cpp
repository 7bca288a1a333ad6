// stats: the digit statistics of the window over the number or a segment of
// it, in the window's table. Three columns differ from the window's, where
// its figures mislead a reader of a segment that does not start at digit 1:
// the delay counts the digits after the last occurrence up to the segment's
// end (the window subtracts a step of the scan from a position of the
// number), the first segment line gives the digits it holds (the window's
// shows E - S),
// and a gap that does not exist (a digit seen once or never) shows as "-"
// instead of the starting values n and 0. So the table of a segment is the
// window's table of the same digits taken as a number.
#include <CLI/CLI.hpp>
#include <chrono>
#include <optional>

#include "cli/command.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/option_values.h"
#include "engine/digit_statistics.h"

namespace cli {

namespace {

// One digit's row as figures; a gap that does not exist is empty.
struct DigitRow {
    int64_t count;
    int64_t delay;
    std::optional<int64_t> minimum;
    std::optional<int64_t> maximum;
};

DigitRow rowOf(const engine::DigitTable& table, size_t digit, int64_t length)
{
    DigitRow row{table.count[digit], length - table.last[digit], std::nullopt, std::nullopt};
    // The minimum starts at the length and only a real gap lowers it; an
    // adjacent pair (gap -1) reads as 0, as in the window.
    if (table.minimumGap[digit] != length)
        row.minimum = std::max<int64_t>(table.minimumGap[digit], 0);
    if (table.count[digit] >= 2)
        row.maximum = table.maximumGap[digit];
    return row;
}

std::string cell(std::optional<int64_t> value)
{
    return value ? engine::rightAligned(*value, 10) : std::string(9, ' ') + "-";
}

void printTable(const engine::DigitTable& table, int64_t length)
{
    printLine(engine::digitTableHeader());
    for (size_t d = 0; d < 10; ++d) {
        const DigitRow row = rowOf(table, d, length);
        printLine("  " + std::to_string(d) + engine::rightAligned(row.count, 18) + engine::rightAligned(row.delay, 10) +
                  cell(row.minimum) + cell(row.maximum));
    }
}

std::string segmentLine(engine::Segment segment, int64_t length)
{
    return "Segment analyzed from digit " + std::to_string(segment.start) + " to " + std::to_string(segment.end) +
           " (" + std::to_string(length) + " digits)";
}

Json jsonTable(const engine::DigitTable& table, int64_t length)
{
    const auto orNull = [](std::optional<int64_t> value) { return value ? Json(*value) : Json(nullptr); };
    Json rows = Json::array();
    for (size_t d = 0; d < 10; ++d) {
        const DigitRow row = rowOf(table, d, length);
        rows.push_back(Json{{"digit", d},
                            {"count", row.count},
                            {"delay", row.delay},
                            {"minimum", orNull(row.minimum)},
                            {"maximum", orNull(row.maximum)}});
    }
    return rows;
}

class StatsCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("number", number_, kNumberHelp)->required();
        entry.add_option("--from", from_, "first digit of the segment (default 1)");
        entry.add_option("--to", to_, "last digit of the segment (default the last)");
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        const int64_t from = integerOption("--from", from_, {1, kMostDigits});
        const std::optional<int64_t> to =
            to_ ? std::optional<int64_t>(integerOption("--to", *to_, {1, kMostDigits})) : std::nullopt;
        const std::string digits = readNumberArgument(number_);
        const int64_t total = static_cast<int64_t>(digits.size());
        const engine::Segment segment = engine::clampSegment(from, to.value_or(total), total);
        if (segment.start > segment.end)
            throw BadInput("the segment " + std::to_string(from) + " to " + std::to_string(to.value_or(total)) +
                           " holds no digits of this " + std::to_string(total) + "-digit number");
        const int64_t length = segment.end - segment.start + 1;
        const engine::DigitTable forward = engine::scanDigits(digits, segment, engine::ScanDirection::Forward);
        const engine::DigitTable backward = engine::scanDigits(digits, segment, engine::ScanDirection::Backward);

        if (!context.style.json) {
            printLine(shownNumber(digits, context.style));
            printLine("Total digits: " + std::to_string(total));
            printLine(segmentLine(segment, length));
            printTable(forward, length);
            printLine(engine::digitTotalLine(forward));
            printLine("");
            printLine("Segment analyzed from digit " + std::to_string(segment.end) + " to " +
                      std::to_string(segment.start) + " (Reverse direction)");
            printTable(backward, length);
            return ExitFound;
        }
        JsonResult json("stats", context.style);
        json.number("number", digits)
            .field("digits", total)
            .field("segment", Json{{"start", segment.start}, {"end", segment.end}, {"length", length}})
            .field("forward", jsonTable(forward, length))
            .field("backward", jsonTable(backward, length));
        json.print(start);
        return ExitFound;
    }

private:
    std::string number_;
    std::string from_ = "1";
    std::optional<std::string> to_;
};

}  // namespace

std::unique_ptr<Command> makeStatsCommand() { return std::make_unique<StatsCommand>(); }

}  // namespace cli
