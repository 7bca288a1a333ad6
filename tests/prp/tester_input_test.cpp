// What the built tester accepts: every parameter string the calling program
// passes, unquoted paths with blanks, damaged number files, bad input.
#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "tester_fixture.h"

namespace prp_test {
namespace {

const std::string kPrime12 = "999999999989";

struct ModeCase {
    std::string switches;  // appended to " -k -T4 "
    std::string keywordLine;
    int exitStatus;
};

TEST_F(PrpTester, every_test_mode_parameter_string_is_accepted)
{
    const std::string noFactor = kPrime12 + " has no small factor.";
    const std::string base3 = kPrime12 + " is 3-PRP!";
    const ModeCase cases[] = {
        {"-o -f ", noFactor, 0},
        {"-f0 ", base3, 0},
        {"-f -s0 ", base3, 0},
        {"-o -f1000 -s0 ", noFactor, 0},
        {"-f0 -b2 ", kPrime12 + " is 2-PRP!", 0},
        {"-f0 -b3 ", base3, 0},
        {"-f0 -b5 ", kPrime12 + " is 5-PRP!", 0},
        {"-f0 -b2 -b3 ", base3, 0},
        {"-tm ", base3, 0},
        {"-o -f1000 -d -s0 ", noFactor, 0},
        {"-f0 ", base3, 0},  // the hidden check: " -k -T4 -f0 "
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.switches);
        TesterResult result = run(" -k -T4 " + c.switches, kPrime12);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_TRUE(onlyLine(result).starts_with(c.keywordLine)) << result.out;
    }
}

TEST_F(PrpTester, trial_only_modes_scan_to_their_depths)
{
    // 10000019 * 10000079: both factors just above the default depth 10^7,
    // the smaller one below the square root, so only -f1000 reaches it.
    const std::string twoFactorsAbove10e7 = "100000980001501";
    const ModeCase cases[] = {
        {"-o -f ", twoFactorsAbove10e7 + " has no small factor. (trial factoring to 10000000)", 0},
        {"-o -f1000 -s0 ", twoFactorsAbove10e7 + " has factors: 10000019", 1},
        {"-o -f1000 -d -s0 ", twoFactorsAbove10e7 + " has factors: 10000019", 1},
        {"-o -f11 ", twoFactorsAbove10e7 + " has factors: 10000019", 1},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.switches);
        TesterResult result = run(" -k -T4 " + c.switches, twoFactorsAbove10e7);
        EXPECT_EQ(onlyLine(result), c.keywordLine);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
    }
}

TEST_F(PrpTester, unquoted_path_with_blanks_is_joined_back_together)
{
    std::string path = dir().write("with blanks/and  two/last_PRP.txt", "97");
    // Split at blanks as the calling program's command line is; a double
    // blank is lost in the split, so that directory is only reachable whole.
    std::string singleBlanks = dir().write("with blanks/last_PRP.txt", "97");
    TesterResult split = runTesterCommand(" -k -T4 -f0 -b5 ", singleBlanks);
    EXPECT_EQ(split.exitStatus, 0) << split.err;
    EXPECT_TRUE(onlyLine(split).starts_with("97 is 5-PRP!"));

    // Passed as one word (a caller that quotes), the path stays verbatim.
    TesterResult whole = runTesterWords({"-k", "-T4", "-f0", path});
    EXPECT_EQ(whole.exitStatus, 0) << whole.err;
    EXPECT_TRUE(onlyLine(whole).starts_with("97 is 3-PRP!"));

    // The whole parameter string as a single word.
    TesterResult oneWord = runTesterWords({" -k -T4 -f0 -b2 " + singleBlanks});
    EXPECT_EQ(oneWord.exitStatus, 0) << oneWord.err;
    EXPECT_TRUE(onlyLine(oneWord).starts_with("97 is 2-PRP!"));
}

TEST_F(PrpTester, path_word_starting_with_a_dash_after_the_name_belongs_to_the_name)
{
    std::string path = dir().write("a -b2/last_PRP.txt", "97");
    TesterResult result = runTesterCommand(" -k -T4 -f0 ", path);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(onlyLine(result).starts_with("97 is 3-PRP!")) << "-b2 in the path is no switch";
}

TEST_F(PrpTester, number_file_keeps_only_digit_bytes)
{
    const std::string utf16WithBom = std::string("\xFF\xFE", 2) + std::string("9\0" "7\0" "\r\0" "\n\0", 8);
    for (const std::string& content : {std::string("97\r\n"), std::string(" 9 7 "), utf16WithBom, std::string("0097")}) {
        TesterResult result = run(" -k -T4 -f0 ", content);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_TRUE(onlyLine(result).starts_with("97 is 3-PRP!")) << result.out;
    }
}

TEST_F(PrpTester, threads_default_to_one_per_core_and_follow_the_switch)
{
    const std::string cores = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
    EXPECT_NE(run(" -k -o -f ", kPrime12).err.find("with up to " + cores + " threads"), std::string::npos);
    EXPECT_NE(run(" -k -T3 -o -f ", kPrime12).err.find("with up to 3 threads"), std::string::npos);
}

struct BadInputCase {
    const char* what;
    std::vector<std::string> words;
    std::string messagePart;
};

TEST_F(PrpTester, bad_input_ends_with_status_5_and_a_message_on_standard_error)
{
    const std::string good = dir().write("good.txt", "97");
    const BadInputCase cases[] = {
        {"missing file", {"-k", "-T4", "-f0", dir().path() + "/absent.txt"}, "cannot read"},
        {"no digits", {"-k", "-T4", "-f0", dir().write("empty.txt", "\xEF\xBB\xBF\r\nno digits\r\n")}, "no digits"},
        {"empty file", {"-k", "-T4", "-f0", dir().write("zero.txt", "")}, "no digits"},
        {"directory", {"-k", "-T4", "-f0", dir().path()}, "cannot read"},
        {"unknown switch", {"-k", "-T4", "-zz", good}, "-zz"},
        {"malformed base", {"-k", "-T4", "-bx", good}, "-bx"},
        {"base below 2", {"-k", "-T4", "-b1", good}, "-b1"},
        {"malformed depth", {"-k", "-fast", good}, "-fast"},
        {"malformed checkpoint interval", {"-k", "-C", good}, "-C"},
        {"negative checkpoint interval", {"-k", "-C-5", good}, "-C-5"},
        {"no file", {"-k", "-T4", "-f0"}, "no number file"},
    };
    for (const BadInputCase& c : cases) {
        SCOPED_TRACE(c.what);
        TesterResult result = runTesterWords(c.words);
        EXPECT_EQ(result.exitStatus, 5);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.messagePart), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << "one line: " << result.err;
    }
}

TEST_F(PrpTester, usage_text_and_readme_list_the_same_switches)
{
    // The usage, printed when the tester is run without arguments, has a
    // line "  <switch>  <meaning>" per row of the switch table.
    const TesterResult usage = runTesterWords({});
    EXPECT_EQ(usage.exitStatus, 5);
    std::vector<std::pair<std::string, std::string>> usageRows;
    std::istringstream usageLines(usage.err);
    const std::regex usageRow(R"(  (-\S+) +(.+))");
    for (std::string line; std::getline(usageLines, line);)
        if (std::smatch match; std::regex_match(line, match, usageRow))
            usageRows.emplace_back(match[1], match[2]);

    std::ifstream readme(PRP_README_PATH);
    std::vector<std::pair<std::string, std::string>> readmeRows;
    const std::regex readmeRow(R"(\| `(-[^`]+)` \| (.+) \|)");
    for (std::string line; std::getline(readme, line);)
        if (std::smatch match; std::regex_match(line, match, readmeRow))
            readmeRows.emplace_back(match[1], match[2]);

    EXPECT_EQ(usageRows, readmeRows) << usage.err;
    for (const char* form : {"-f[<n>]", "-b<base>", "-tm", "-C<seconds>", "-q..."})
        EXPECT_NE(usage.err.find(std::string(" [") + form + "]"), std::string::npos) << "synopsis lacks " << form;
}

}  // namespace
}  // namespace prp_test
