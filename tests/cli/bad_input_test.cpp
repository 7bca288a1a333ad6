// Every kind of unusable input ends with exit 2 and one line that names
// what was wrong, never a crash or an answer.
#include <gtest/gtest.h>

#include "cli_runner.h"

using namespace cli_test;

namespace {

struct BadCase {
    std::vector<std::string> arguments;
    std::string named;  // part of the message
    std::string standardInput = {};
};

}  // namespace

TEST(CliBadInput, each_case_exits_2_with_a_message_naming_the_fault)
{
    TemporaryDirectory directory;
    const std::string empty = directory.write("empty.txt", "no digits here\n");
    const std::string missing = directory.path() + "/missing.txt";
    const std::vector<BadCase> cases = {
        {{"next-prime", ""}, "empty"},
        {{"next-prime", "abc"}, "'a' at position 1"},
        {{"prev-prime", "12a3"}, "'a' at position 3"},
        {{"next-prime", "-17"}, "signs"},
        {{"test", "+17"}, "signs"},
        {{"factor", "1 2"}, "' ' at position 2"},
        {{"next-prime", "@" + missing}, "missing.txt"},
        {{"stats", "@" + directory.path()}, "is a directory"},
        {{"test", "@" + empty}, "holds no digits"},
        {{"next-prime", "@"}, "file name"},
        {{"next-prime", "-"}, "standard input holds no digits", "abc\n"},
        {{"prev-prime", "2"}, "no prime below"},
        {{"random-prime", "--digits", "2"}, "out of range"},
        {{"random-prime", "--digits", "78000001"}, "out of range"},
        {{"random-prime", "--digits", "50", "--final-digits", "25"}, "--final-digits"},
        {{"random-prime", "--digits", "50", "--start-digits", "x"}, "--start-digits"},
        {{"random-prime", "--digits", "50", "--iconic", "12"}, "--iconic"},
        {{"random-prime", "--digits", "5", "--iconic", "7"}, "10 to 10,000 digits"},
        {{"random-prime", "--digits", "20", "--signature", "far too long a text"}, "does not fit"},
        {{"random-prime", "--digits", "50", "--count", "0"}, "--count"},
        {{"test", "97", "--large-start", "100"}, "--large-start"},
        {{"factor", "1"}, "no prime factors"},
        {{"factor", "91", "--timeout", "0"}, "--timeout"},
        {{"stats", "12345", "--from", "4", "--to", "2"}, "holds no digits"},
        {{"random-prime", "--digits", "many"}, "--digits"},
        {{"no-such-command"}, "subcommand"},
    };
    for (const BadCase& c : cases) {
        std::string shown;
        for (const std::string& word : c.arguments)
            shown += "[" + word + "] ";
        CliRun run = runCli(c.arguments, {c.standardInput});
        EXPECT_EQ(run.status, 2) << shown << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << shown << "message: " << run.err;
        EXPECT_EQ(run.out, "") << shown;
    }
}

TEST(CliBadInput, help_of_the_program_and_of_each_command_exits_0)
{
    for (const char* command : {"next-prime", "prev-prime", "random-prime", "test", "factor", "stats"}) {
        CliRun run = runCli({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_NE(run.out.find("--json"), std::string::npos) << command;
    }
    CliRun run = runCli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("random-prime"), std::string::npos);
}
