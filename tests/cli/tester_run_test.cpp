// test above the large-number limit runs the tester as the window's check
// does: its progress lines are passed on, a tester that hangs is ended at
// --timeout (status 5), one that fails gives status 4, and an interrupt
// leaves neither the tester nor its directory behind. The program is copied
// beside a stand-in tester, where it looks for the real one.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "engine/decimal_text.h"
#include "support/fake_tester.h"

using namespace cli_test;

namespace {

namespace fs = std::filesystem;

// 2^11213 - 1, a Mersenne prime of 3,376 digits: the first check passes it.
std::string mersennePrime()
{
    engine::BigInt n;
    mpz_ui_pow_ui(n.get(), 2, 11213);
    mpz_sub_ui(n.get(), n.get(), 1);
    return engine::toDecimal(n);
}

class CliWithTester : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = directory_.path() + "/quendrolt-cli";
        fs::copy_file(QUENDROLT_CLI_PATH, program_);
        number_ = directory_.write("n.txt", mersennePrime());
    }

    // The stand-in also writes its working directory where the test finds it.
    void installTester(const std::string& body)
    {
        testing_support::installFakeTester(tester(), "pwd > '" + directory_.path() + "/tester_cwd.txt'\n" +
                                                         "echo \"$@\" > '" + directory_.path() + "/arguments.txt'\n" + body);
    }

    CliRun runTest(std::vector<std::string> options, const RunOptions& run = {})
    {
        std::vector<std::string> words = {program_, "test", "@" + number_, "--large-start", "3000"};
        words.insert(words.end(), options.begin(), options.end());
        return runCommand(words, run);
    }

    std::string tester() const { return directory_.path() + "/pfgw64_133mm.exe"; }
    std::string testerDirectory() const
    {
        std::string cwd = testing_support::readWholeFile(directory_.path() + "/tester_cwd.txt");
        return cwd.substr(0, cwd.find('\n'));
    }

    TemporaryDirectory directory_;
    std::string program_;
    std::string number_;
};

}  // namespace

TEST_F(CliWithTester, progress_lines_are_passed_on_and_the_result_line_decides)
{
    installTester("echo 'PRP test to base 3: 41.7% done, 1234 steps/s, 1m12s left' >&2\n"
                  "echo 'N is 3-PRP! (0.0s+0.0s)'");
    CliRun run = runTest({"--short"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.ends_with(": It could be a prime\n")) << run.out;
    EXPECT_NE(run.err.find("tester: PRP test to base 3: 41.7% done, 1234 steps/s, 1m12s left\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(testing_support::readWholeFile(directory_.path() + "/arguments.txt"),
              "-k -T4 -f0 " + testerDirectory() + "/last_PRP.txt\n");
    EXPECT_FALSE(fs::exists(testerDirectory())) << "the run's directory is removed";

    CliRun quiet = runTest({"-q"});
    EXPECT_EQ(quiet.err, "");
}

TEST_F(CliWithTester, a_tester_that_hangs_is_ended_at_the_time_limit_with_no_verdict)
{
    installTester("echo 'PRP test to base 3: 1.0% done, 12 steps/s, 9h00m left' >&2\nexec sleep 60");
    CliRun run = runTest({"--timeout", "1", "--json"});
    EXPECT_EQ(run.status, 5) << run.err;
    EXPECT_NE(run.out.find("\"verdict\":\"Timeout\""), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("time limit of 1 s"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tester: PRP test to base 3: 1.0% done"), std::string::npos) << run.err;
    EXPECT_EQ(processesWith(tester()), std::vector<int>{}) << "the tester was ended";
    EXPECT_FALSE(fs::exists(testerDirectory()));
}

TEST_F(CliWithTester, a_tester_that_fails_is_a_failure_not_a_verdict)
{
    struct Case {
        const char* body;
        const char* message;
    };
    for (const Case& c : {Case{"kill -SEGV $$", "did not run to its end: it ended by signal 11"},
                          Case{"exit 127", "did not run to its end: it ended with status 127"}}) {
        installTester(c.body);
        CliRun run = runTest({});
        EXPECT_EQ(run.status, 4) << c.body << run.err;
        EXPECT_EQ(run.out, "") << c.body;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    installTester("echo never");
    fs::permissions(tester(), fs::perms::owner_read | fs::perms::group_read);
    CliRun notStartable = runTest({});
    EXPECT_EQ(notStartable.status, 4) << notStartable.err;
    EXPECT_NE(notStartable.err.find("could not be started: Permission denied"), std::string::npos) << notStartable.err;
}

TEST_F(CliWithTester, an_interrupt_ends_the_tester_and_removes_its_directory)
{
    installTester("exec sleep 60");
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        RunOptions options;
        options.interruptAfter = std::chrono::milliseconds(1500);
        options.interruptSignal = signal;
        CliRun run = runTest({}, options);
        EXPECT_EQ(run.status, 3) << "signal " << signal << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(processesWith(tester()), std::vector<int>{}) << "signal " << signal;
        EXPECT_FALSE(fs::exists(testerDirectory())) << "signal " << signal;
    }
}

TEST(CliTester, the_real_tester_gives_its_verdict)
{
    CliRun run = runCli({"test", mersennePrime(), "--large-start", "3000", "--json", "-q"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"verdict\":\"It could be a prime\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"method\":\"tester\""), std::string::npos) << run.out;
}

// Under --gmp-only GMP's test takes the tester's place, and the limit holds
// for it too: on 2^756839 - 1 (227,832 digits, prime) it would take minutes.
TEST(CliTester, gmps_test_of_a_large_number_is_ended_at_the_time_limit)
{
    TemporaryDirectory directory;
    engine::BigInt n;
    mpz_ui_pow_ui(n.get(), 2, 756839);
    mpz_sub_ui(n.get(), n.get(), 1);
    const std::string file = directory.write("mersenne.txt", engine::toDecimal(n));
    CliRun run = runCli({"test", "@" + file, "--gmp-only", "--timeout", "1", "--short"});
    EXPECT_EQ(run.status, 5) << run.err;
    EXPECT_TRUE(run.out.ends_with(": Timeout\n")) << run.out;
    EXPECT_NE(run.err.find("GMP's probable-prime test was ended at its time limit of 1 s"), std::string::npos) << run.err;
    EXPECT_EQ(processesWith(file), std::vector<int>{}) << "the worker was ended";
}
