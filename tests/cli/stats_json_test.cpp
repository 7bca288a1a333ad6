// stats writes the window's table lines; every command's --json output is
// one JSON object with its keys (checked by Python's own parser).
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "engine/digit_statistics.h"

using namespace cli_test;

TEST(CliStats, lines_are_the_windows_table_for_the_segment)
{
    const std::string number = "31415926535897932384626433832795";
    CliRun run = runCli({"stats", number, "--from", "3", "--to", "20"});
    ASSERT_EQ(run.status, 0) << run.err;
    const engine::Segment segment{3, 20};
    std::vector<std::string> expected = {number, "Total digits: 32", engine::segmentLine(segment),
                                         engine::digitTableHeader()};
    for (const std::string& row : engine::digitTableRows(engine::scanDigits(number, segment, engine::ScanDirection::Forward), 20))
        expected.push_back(row);
    expected.push_back(engine::digitTotalLine(engine::scanDigits(number, segment, engine::ScanDirection::Forward)));
    expected.push_back("");
    expected.push_back("Segment analyzed from digit 20 to 3 (Reverse direction)");
    expected.push_back(engine::digitTableHeader());
    for (const std::string& row : engine::digitTableRows(engine::scanDigits(number, segment, engine::ScanDirection::Backward), 20))
        expected.push_back(row);
    EXPECT_EQ(lines(run.out), expected);
    // By hand: in 415926535897932384 the 3s stand at steps 8, 14 and 16, so
    // the delay is 20 - 16, and the gaps are 4 and 0 (a gap of 0 is no minimum).
    EXPECT_EQ(expected[4 + 3], "  3                 3         4         4         4");
}

TEST(CliJson, every_command_prints_one_object_with_its_keys)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string keys;  // sorted, as the parser lists them
    };
    const std::vector<Case> cases = {
        {{"next-prime", "1000"}, "command digits input_digits prime ranks seconds"},
        {{"prev-prime", "1000"}, "command digits input_digits prime ranks seconds"},
        {{"random-prime", "--digits", "40", "--seed", "1"}, "candidates command digits index prime seed"},
        {{"test", "1000003"}, "command digits method number verdict verdict_code"},
        {{"factor", "1000"}, "command complete digits factors number"},
        {{"stats", "1234567890"}, "backward command digits forward number segment"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back("--json");
        CliRun run = runCli(arguments);
        ASSERT_EQ(run.status, 0) << c.keys << run.err;
        CliRun parsed = runCommand({"python3", "-c", "import json,sys; print(' '.join(sorted(json.load(sys.stdin))))"},
                                {run.out});
        EXPECT_EQ(parsed.status, 0) << run.out << parsed.err;
        EXPECT_EQ(parsed.out, c.keys + "\n") << run.out;
    }
}
