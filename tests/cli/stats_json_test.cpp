// stats writes the window's table of a segment; every command's --json output
// is one JSON object with the shared field names (checked by Python's own
// parser).
#include <gtest/gtest.h>

#include "cli_runner.h"
#include <cstdio>

using namespace cli_test;

namespace {

std::string row(int digit, long long count, long long delay, const char* minimum, const char* maximum)
{
    char text[80];
    std::snprintf(text, sizeof text, "  %d%18lld%10lld%10s%10s", digit, count, delay, minimum, maximum);
    return text;
}

}  // namespace

TEST(CliStats, a_segment_reads_as_its_digits_would_alone)
{
    // The rows of digits 5 to 8 of 12345678 are the rows of 5678: the delays
    // count from the segment's end, not from digit 1 of the number.
    CliRun segment = runCli({"stats", "12345678", "--from", "5", "--to", "8"});
    CliRun alone = runCli({"stats", "5678"});
    ASSERT_EQ(segment.status, 0) << segment.err;
    const std::vector<std::string> segmentLines = lines(segment.out), aloneLines = lines(alone.out);
    ASSERT_EQ(segmentLines.size(), 28u) << segment.out;
    ASSERT_EQ(aloneLines.size(), 28u) << alone.out;
    EXPECT_EQ(segmentLines[2], "Segment analyzed from digit 5 to 8 (4 digits)");
    EXPECT_EQ(aloneLines[2], "Segment analyzed from digit 1 to 4 (4 digits)");
    EXPECT_EQ(segmentLines[16], "Segment analyzed from digit 8 to 5 (Reverse direction)");
    for (size_t i = 3; i < segmentLines.size(); ++i) {
        if (i != 16) {
            EXPECT_EQ(segmentLines[i], aloneLines[i]) << "line " << i;
        }
    }
    EXPECT_EQ(segmentLines[4 + 5], row(5, 1, 3, "-", "-")) << "5 is the first of four digits";
    EXPECT_EQ(segmentLines[4 + 8], row(8, 1, 0, "-", "-"));
    EXPECT_EQ(segmentLines[4 + 0], row(0, 0, 4, "-", "-")) << "a digit never seen: the whole segment";
    EXPECT_EQ(segmentLines[18 + 5], row(5, 1, 0, "-", "-")) << "reverse: 5 is read last";
}

TEST(CliStats, rows_counted_by_hand)
{
    // Digits 3 to 20 of the number: 415926535897932384, 18 digits.
    const std::string number = "31415926535897932384626433832795";
    CliRun run = runCli({"stats", number, "--from", "3", "--to", "20"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> out = lines(run.out);
    ASSERT_EQ(out.size(), 28u);
    EXPECT_EQ(out[0], number);
    EXPECT_EQ(out[1], "Total digits: 32");
    EXPECT_EQ(out[2], "Segment analyzed from digit 3 to 20 (18 digits)");
    // The 3s stand at steps 8, 14 and 16: delay 18 - 16, gaps of 5 and 1
    // digits between (4 and 0 as the window counts them; 0 is no minimum).
    EXPECT_EQ(out[4 + 3], row(3, 3, 2, "4", "4"));
    EXPECT_EQ(out[4 + 1], row(1, 1, 16, "-", "-")) << "seen once: no gap";
    EXPECT_EQ(out[4 + 0], row(0, 0, 18, "-", "-")) << "never seen";
    EXPECT_EQ(out[4 + 5], row(5, 3, 9, "2", "2")) << "steps 3, 7, 9";
    EXPECT_EQ(out[14], "Total              18");
    // Backwards (483239798535629514) the 3s stand at steps 3, 5 and 11.
    EXPECT_EQ(out[18 + 3], row(3, 3, 7, "4", "4"));
}

// One set of field names: "digits" is the digit count of "number" (the
// asked-for size for random-prime), "prime_digits" that of "prime";
// "seconds" everywhere, "ranks" where a search was shared; "shortened" says
// whether --short cut a number.
TEST(CliJson, every_command_prints_one_object_with_the_shared_field_names)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string keys;  // sorted, as the parser lists them
    };
    const std::string hundredDigits = "1" + std::string(99, '0');
    const std::vector<Case> cases = {
        {{"next-prime", "1000"}, "command digits number prime prime_digits ranks seconds shortened"},
        {{"prev-prime", "1000"}, "command digits number prime prime_digits ranks seconds shortened"},
        {{"next-prime", hundredDigits, "--short"}, "command digits number prime prime_digits ranks seconds shortened"},
        {{"random-prime", "--digits", "40", "--seed", "1"},
         "candidates command count digits index prime prime_digits ranks seconds seed shortened"},
        {{"test", "1000003"}, "command digits method number seconds shortened verdict verdict_code"},
        {{"factor", "1000"}, "command complete digits factors number seconds shortened"},
        {{"stats", "1234567890"}, "backward command digits forward number seconds segment shortened"},
    };
    // The keys, then "ok" when every number's digit count matches its field.
    const char* check = R"(import json, sys
o = json.load(sys.stdin)
print(' '.join(sorted(o)))
cut = o['shortened']
good = isinstance(o['seconds'], float) and all(('...' in o[k]) == cut for k in ('number', 'prime') if k in o)
if 'number' in o and not cut: good = good and o['digits'] == len(o['number'])
if 'prime' in o and not cut: good = good and o['prime_digits'] == len(o['prime'])
print('ok' if good else 'mismatch'))";
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back("--json");
        CliRun run = runCli(arguments);
        ASSERT_EQ(run.status, 0) << c.keys << run.err;
        CliRun parsed = runCommand({"python3", "-c", check}, {run.out});
        EXPECT_EQ(parsed.status, 0) << run.out << parsed.err;
        EXPECT_EQ(parsed.out, c.keys + "\nok\n") << run.out;
    }
}

TEST(CliJson, stats_rows_hold_no_gap_as_null_and_numbers_of_any_length_as_strings)
{
    TemporaryDirectory directory;
    const std::string number = "9" + std::string(1'000'000, '1') + "9";
    const std::string file = directory.write("n.txt", number);
    CliRun run = runCli({"stats", "@" + file, "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    CliRun parsed = runCommand({"python3", "-c", R"(import json, sys
o = json.load(sys.stdin)
rows = o['forward']
print(len(o['number']), o['segment'], rows[0], rows[1], rows[9]))"},
                               {run.out});
    EXPECT_EQ(parsed.out, "1000002 {'start': 1, 'end': 1000002, 'length': 1000002} "
                          "{'digit': 0, 'count': 0, 'delay': 1000002, 'minimum': None, 'maximum': None} "
                          "{'digit': 1, 'count': 1000000, 'delay': 1, 'minimum': 0, 'maximum': 0} "
                          "{'digit': 9, 'count': 2, 'delay': 0, 'minimum': 999999, 'maximum': 999999}\n")
        << parsed.err;
}
