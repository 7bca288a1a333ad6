// Which cells a results-list line becomes in the spreadsheet.
#include <gtest/gtest.h>

#include "storage/export_rules.h"

using namespace storage;

namespace {

struct Expected {
    int column;
    bool isNumber;
    std::string text;
    double value;
    CellAttributes attributes;
};

void expectCells(const std::string& line, const std::vector<Expected>& expected, bool takesRow = true)
{
    SCOPED_TRACE("line \"" + line + "\"");
    const ExportRow row = exportRow(line);
    EXPECT_EQ(row.takesRow, takesRow);
    ASSERT_EQ(row.cells.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ExportCell& c = row.cells[i];
        EXPECT_EQ(c.column, expected[i].column) << "cell " << i;
        EXPECT_EQ(c.isNumber, expected[i].isNumber) << "cell " << i;
        if (c.isNumber)
            EXPECT_EQ(c.value, expected[i].value) << "cell " << i;
        else
            EXPECT_EQ(c.text, expected[i].text) << "cell " << i;
        EXPECT_EQ(c.attributes, expected[i].attributes) << "cell " << i;
    }
}

constexpr bool N = true, L = false;

}  // namespace

TEST(ExportRules, separator_gives_an_empty_row_and_an_empty_line_no_row)
{
    expectCells(std::string(122, '-'), {});
    expectCells("", {}, false);
    expectCells("   ", {{0, L, "   ", 0, cell::Text}});
}

TEST(ExportRules, statistics_table_becomes_headings_numbers_and_total)
{
    expectCells("Digit  How many times     Delay   Minimum   Maximum",
                {{1, L, "Digit", 0, cell::Heading},
                 {2, L, "How many", 0, cell::Heading},
                 {3, L, "Delay", 0, cell::Heading},
                 {4, L, "Minimum", 0, cell::Heading},
                 {5, L, "Maximum", 0, cell::Heading}});
    expectCells("  1                 4         0         0         3",
                {{1, N, "", 1, cell::Statistic},
                 {2, N, "", 4, cell::Statistic},
                 {3, N, "", 0, cell::Statistic},
                 {4, N, "", 0, cell::Statistic},
                 {5, N, "", 3, cell::Statistic}});
    expectCells("Total              10", {{0, L, "Total", 0, cell::Text}, {1, N, "", 10, cell::Statistic}});
}

TEST(ExportRules, a_line_starting_with_a_time_is_read_as_a_statistics_row)
{
    expectCells("14:07 h - something happened",
                {{1, N, "", 14, cell::Statistic},
                 {2, N, "", 0, cell::Statistic},
                 {3, N, "", 0, cell::Statistic},
                 {4, N, "", 0, cell::Statistic},
                 {5, N, "", 0, cell::Statistic}});
}

TEST(ExportRules, completion_line_loses_its_at_and_dash)
{
    expectCells("Done in 0.125 s at 14:07 h - 12/06/2026", {{0, L, "Done in 0.125 s 14:07 h 12/06/2026", 0, cell::Text}});
    expectCells("Done in 0.002 s", {{0, L, "Done in 0.002 s", 0, cell::Text}});
}

TEST(ExportRules, counted_lines_put_their_number_beside_the_text)
{
    expectCells("Analyzing a number with 1000 digits:",
                {{0, L, "Analyzing a number with 1000 digits:", 0, cell::Text}, {1, N, "", 1000, cell::Count}});
    expectCells("A candidate with 1200 digits was found",
                {{0, L, "A candidate with 1200 digits was found", 0, cell::Text}, {1, N, "", 1200, cell::Count}});
    expectCells("Total digits: 1000", {{0, L, "Total digits: 1000", 0, cell::Text}, {1, N, "", 1000, cell::Count}});
    // Without collapsing, a double blank makes an empty field.
    expectCells("Total digits:  1000", {{0, L, "Total digits:  1000", 0, cell::Text}, {1, N, "", 0, cell::Count}});
}

TEST(ExportRules, segment_and_verdict_notes_go_to_column_1)
{
    expectCells("Segment analyzed from digit 1 to 10 (9)",
                {{1, L, "Segment analyzed from digit 1 to 10 (9)", 0, cell::Text}});
    const std::string longNote = "This statistic, " + std::string(200, 'x');
    expectCells(longNote, {{1, L, longNote.substr(0, 100), 0, cell::Text}});
}

TEST(ExportRules, other_lines_keep_their_leading_blanks_and_at_most_255_characters)
{
    expectCells("  Number > 12345", {{0, L, "  Number > 12345", 0, cell::Text}});
    const std::string longLine(300, 'q');
    expectCells(longLine, {{0, L, std::string(255, 'q'), 0, cell::Text}});
    expectCells(std::string(255, 'q'), {{0, L, std::string(255, 'q'), 0, cell::Text}});
}
