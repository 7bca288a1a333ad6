// Every kind of unusable input ends with exit 2 and one line on standard
// error that names what was wrong, quoted so that the line stays one line of
// valid UTF-8; never a crash, an answer, or some other number.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_runner.h"

using namespace cli_test;

namespace {

struct BadCase {
    std::vector<std::string> arguments;
    std::string named;  // part of the message
    std::string standardInput = {};
};

bool validUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

std::string shown(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& word : arguments)
        text.append("[").append(word, 0, 40).append("] ");
    return text;
}

}  // namespace

TEST(CliBadInput, each_case_exits_2_with_one_line_naming_the_fault)
{
    TemporaryDirectory directory;
    const std::string empty = directory.write("empty.txt", "no digits here\n");
    const std::string blank = directory.write("blank.txt", " \r\n\n");
    const std::string wrapped = directory.write("wrapped.txt", "1234567890\n1234567890\n");
    const std::string missing = directory.path() + "/missing.txt";
    const std::string longBad = std::string(100000, '7') + "x";
    const std::vector<BadCase> cases = {
        // The number typed, in a file or on standard input.
        {{"next-prime", ""}, "empty"},
        {{"next-prime", "abc"}, "'a' at position 1"},
        {{"prev-prime", "12a3"}, "'a' at position 3"},
        {{"next-prime", "-17"}, "signs"},
        {{"test", "+17"}, "signs"},
        {{"factor", "1 2"}, "' ' at position 2"},
        {{"next-prime", "12\n3"}, "'12\\n3' is not a decimal number: character '\\n' at position 3"},
        {{"next-prime", "12\xff" "3"}, "'12\\xff3' is not a decimal number: character '\\xff' at position 3"},
        {{"next-prime", "12\xc3\xa9"}, "character '\xc3\xa9' at position 3"},
        {{"next-prime", "1\x1b[2J"}, "'1\\x1b[2J'"},
        {{"next-prime", longBad}, "' (100,001 characters) is not a decimal number: character 'x' at position 100001"},
        {{"next-prime", "@" + missing}, "missing.txt"},
        {{"stats", "@" + directory.path()}, "is a directory"},
        {{"test", "@" + empty}, "character 'n' at line 1, column 1"},
        {{"test", "@" + blank}, "holds no digits"},
        {{"test", "@" + wrapped}, "a second number at line 2, column 1"},
        {{"next-prime", "@"}, "file name"},
        {{"next-prime", "-"}, "standard input holds no digits", " \n\t\n"},
        {{"next-prime", "-"}, "standard input is not one decimal number: character 'a' at line 1, column 1", "abc\n"},
        {{"test", "-"}, "character '^' at line 1, column 2", "2^521-1\n"},
        {{"factor", "-"}, "a second number at line 2, column 1", "15\n21\n"},
        {{"factor", "-"}, "character '\\xff' at line 3, column 4", "\n\n   \xff" "12\n"},
        {{"prev-prime", "2"}, "no prime below"},
        {{"factor", "1"}, "no prime factors"},
        // Options: the value is shown as given.
        {{"random-prime", "--digits", "2"}, "--digits '2' is out of range: 3 to 78,000,000"},
        {{"random-prime", "--digits", "78000001"}, "--digits '78000001' is out of range"},
        {{"random-prime", "--digits", "99999999999999999999"}, "--digits '99999999999999999999' is out of range"},
        {{"random-prime", "--digits", "many"}, "--digits 'many' is not a whole number"},
        {{"random-prime", "--digits", "1e3"}, "--digits '1e3' is not a whole number"},
        {{"random-prime", "--digits", "50", "--final-digits", "25"}, "--final-digits"},
        {{"random-prime", "--digits", "50", "--start-digits", "x"}, "--start-digits"},
        {{"random-prime", "--digits", "50", "--seed", "1", "--start-digits", "0"}, "cannot begin with 0"},
        {{"random-prime", "--digits", "3", "--seed", "1", "--start-digits", "90"}, "cannot begin with 0"},
        {{"random-prime", "--digits", "50", "--iconic", "12"}, "--iconic"},
        {{"random-prime", "--digits", "5", "--iconic", "7"}, "10 to 10,000 digits"},
        {{"random-prime", "--digits", "20", "--signature", "far too long a text"}, "does not fit"},
        {{"random-prime", "--digits", "20", "--signature", "a\xff"}, "not valid UTF-8"},
        {{"random-prime", "--digits", "50", "--count", "0"}, "--count '0' is out of range"},
        {{"random-prime", "--digits", "50", "--seed", "-1"}, "--seed '-1'"},
        {{"random-prime", "--digits", "50", "--seed", "18446744073709551616"}, "--seed '18446744073709551616' is out of range"},
        {{"random-prime", "--digits", "50", "--seed", "99999999999999999999999"}, "--seed '99999999999999999999999'"},
        {{"random-prime", "--digits", "50", "--seed", ""}, "--seed ''"},
        {{"next-prime", "97", "--threads", "0"}, "--threads '0' is out of range: 1 to 1,024"},
        {{"next-prime", "97", "--threads", "1025"}, "--threads '1025' is out of range: 1 to 1,024"},
        {{"prev-prime", "97", "--threads", "-2"}, "--threads '-2' is out of range"},
        {{"next-prime", "97", "--threads", "two"}, "--threads 'two' is not a whole number"},
        {{"next-prime", "97", "--threads", ""}, "--threads '' is not a whole number"},
        {{"random-prime", "--digits", "50", "--threads", "99999999999999999999"}, "--threads '99999999999999999999' is out of range"},
        {{"--threads", "1.5", "next-prime", "97"}, "--threads '1.5' is not a whole number"},
        {{"test", "97", "--threads", "2"}, "--threads"},
        {{"test", "97", "--large-start", "100"}, "--large-start '100' is out of range: 3,000 to 9,000"},
        {{"test", "97", "--timeout", "0"}, "--timeout '0' is out of range"},
        {{"factor", "91", "--timeout", "0"}, "--timeout '0' is out of range"},
        {{"factor", "91", "--timeout", "nan"}, "--timeout 'nan' is not a number of seconds"},
        {{"factor", "91", "--timeout", "inf"}, "--timeout 'inf' is not a number of seconds"},
        {{"factor", "91", "--timeout", "-5"}, "--timeout '-5' is out of range"},
        {{"factor", "91", "--curves", "-1"}, "--curves '-1' is out of range"},
        {{"stats", "12345", "--from", "4", "--to", "2"}, "holds no digits"},
        {{"stats", "12345", "--from", "x"}, "--from 'x' is not a whole number"},
        // The command line itself.
        {{"frobnicate", "5"}, "unknown subcommand 'frobnicate'"},
        {{"next\nprime"}, "unknown subcommand 'next\\nprime'"},
        {{}, "a subcommand is required"},
        {{"-q"}, "a subcommand is required"},
        {{"help", "frobnicate"}, "no subcommand is named 'frobnicate'"},
        {{"next-prime", "5", "--frobnicate"}, "--frobnicate"},
        {{"next-prime", "5", "--x\ny\xff"}, "--x\\ny\\xff"},
    };
    for (const BadCase& c : cases) {
        const std::string trace = shown(c.arguments);
        CliRun run = runCli(c.arguments, {c.standardInput});
        EXPECT_EQ(run.status, 2) << trace << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << trace << "message: " << run.err;
        EXPECT_EQ(run.out, "") << trace;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << trace << run.err;
        EXPECT_TRUE(validUtf8(run.err)) << trace << run.err;
        EXPECT_LT(run.err.size(), 400u) << trace;
    }
}

TEST(CliBadInput, under_json_the_error_is_also_a_json_object_on_standard_output)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"next-prime", "12x4", "--json"}, {"--json", "frobnicate"},
          {"random-prime", "--json", "--digits", "2"}}) {
        CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2) << shown(arguments);
        CliRun parsed = runCommand(
            {"python3", "-c", "import json,sys; o=json.load(sys.stdin); print(o['exit_status'], 'error' in o, o['command'])"},
            {run.out});
        EXPECT_EQ(parsed.status, 0) << run.out << parsed.err;
        EXPECT_EQ(parsed.out.substr(0, 7), "2 True ") << run.out;
    }
}

TEST(CliBadInput, help_version_and_the_output_options_before_the_subcommand)
{
    for (const char* command : {"next-prime", "prev-prime", "random-prime", "test", "factor", "stats"}) {
        CliRun run = runCli({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_NE(run.out.find("--json"), std::string::npos) << command;
        CliRun viaHelp = runCli({"help", command});
        EXPECT_EQ(viaHelp.status, 0) << command;
        EXPECT_EQ(viaHelp.out, run.out) << command;
    }
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"}, {"help"}}) {
        CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 0);
        for (const char* command : {"next-prime", "prev-prime", "random-prime", "test", "factor", "stats", "help"})
            EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
    CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("quendrolt-cli 0.", 0), 0u) << version.out;

    CliRun quietFirst = runCli({"-q", "--json", "next-prime", "100"});
    EXPECT_EQ(quietFirst.status, 0) << quietFirst.err;
    EXPECT_EQ(quietFirst.err, "");
    EXPECT_EQ(quietFirst.out.rfind("{\"command\":\"next-prime\"", 0), 0u) << quietFirst.out;
}

// A result that never reached its reader is a failure: the Slurm example's
// "0: found" must not hold for a full disk or a closed output.
TEST(CliOutput, a_failed_write_of_the_result_exits_4_and_names_the_cause)
{
    TemporaryDirectory directory;
    const std::string huge = directory.write("huge.txt", std::string(10'000'000, '7'));
    const std::vector<std::vector<std::string>> commands = {
        {"next-prime", "100"},
        {"next-prime", "100", "--json"},
        {"random-prime", "--digits", "20", "--seed", "1", "--count", "3"},
        {"factor", "7207200"},
        {"stats", "@" + huge},
        {"help"},
        {"--version"},
    };
    struct Target {
        OutputTarget target;
        const char* cause;
    };
    for (const Target& t : {Target{OutputTarget::DevFull, "No space left on device"},
                            Target{OutputTarget::Closed, "Bad file descriptor"},
                            Target{OutputTarget::BrokenPipe, "Broken pipe"}}) {
        for (const std::vector<std::string>& command : commands) {
            RunOptions options;
            options.output = t.target;
            CliRun run = runCli(command, options);
            EXPECT_EQ(run.status, 4) << shown(command) << t.cause << run.err;
            EXPECT_NE(run.err.find(std::string("cannot write the result to standard output: ") + t.cause),
                      std::string::npos)
                << shown(command) << run.err;
        }
    }
}
