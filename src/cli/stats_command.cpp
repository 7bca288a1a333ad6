#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_text.h"
#include "cli/number_input.h"
#include "engine/digit_statistics.h"

namespace cli {

namespace {

void printTable(const engine::DigitTable& table, int64_t end)
{
    std::printf("%s\n", engine::digitTableHeader().c_str());
    for (const std::string& row : engine::digitTableRows(table, end))
        std::printf("%s\n", row.c_str());
}

// The window's lines: the forward table with its total, then the reverse one.
void printLines(const std::string& digits, engine::Segment segment, const engine::DigitTable& forward,
                const engine::DigitTable& backward, const OutputStyle& style)
{
    std::printf("%s\n", shownNumber(digits, style).c_str());
    std::printf("Total digits: %zu\n", digits.size());
    std::printf("%s\n", engine::segmentLine(segment).c_str());
    printTable(forward, segment.end);
    std::printf("%s\n\n", engine::digitTotalLine(forward).c_str());
    std::printf("Segment analyzed from digit %lld to %lld (Reverse direction)\n", static_cast<long long>(segment.end),
                static_cast<long long>(segment.start));
    printTable(backward, segment.end);
}

std::string jsonTable(const engine::DigitTable& table, int64_t end)
{
    std::vector<std::string> rows;
    for (size_t d = 0; d < 10; ++d) {
        // As the table shows it: an adjacent pair reads as a gap of 0.
        const int64_t minimum = table.minimumGap[d] == -1 ? 0 : table.minimumGap[d];
        rows.push_back(JsonObject()
                           .add("digit", static_cast<int64_t>(d))
                           .add("count", table.count[d])
                           .add("delay", end - table.last[d])
                           .add("minimum", minimum)
                           .add("maximum", table.maximumGap[d])
                           .text());
    }
    return jsonArray(rows);
}

}  // namespace

int runStats(const StatsCommand& command)
{
    const std::string digits = readNumberArgument(command.number);
    const int64_t length = static_cast<int64_t>(digits.size());
    const engine::Segment segment =
        engine::clampSegment(command.segmentStart, command.segmentEnd == 0 ? length : command.segmentEnd, length);
    if (segment.start > segment.end)
        throw BadInput("the segment " + std::to_string(command.segmentStart) + " to " +
                       std::to_string(command.segmentEnd) + " holds no digits");
    const engine::DigitTable forward = engine::scanDigits(digits, segment, engine::ScanDirection::Forward);
    const engine::DigitTable backward = engine::scanDigits(digits, segment, engine::ScanDirection::Backward);
    if (!command.style.json) {
        printLines(digits, segment, forward, backward, command.style);
        return ExitFound;
    }
    JsonObject json;
    json.add("command", "stats")
        .add("number", shownNumber(digits, command.style))
        .add("digits", length)
        .addRaw("segment", JsonObject().add("start", segment.start).add("end", segment.end).text())
        .addRaw("forward", jsonTable(forward, segment.end))
        .addRaw("backward", jsonTable(backward, segment.end));
    std::printf("%s\n", json.text().c_str());
    return ExitFound;
}

}  // namespace cli
