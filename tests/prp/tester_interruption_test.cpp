// SIGTERM, SIGINT and SIGHUP: the tester saves its checkpoint and ends with
// status 3, and a rerun finishes with the uninterrupted result; a run of
// several bases, killed part-way, keeps the bases it finished. The tester
// waits at a chosen step for the signal (QUENDROLT_PRP_PAUSE_AT), so that
// nothing races.
#include <filesystem>

#include "long_run_fixture.h"
#include "result_line.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

struct SignalCase {
    const char* name;
    int signal;
    const char* switches;
    std::string resumedAt;
};

TEST_F(PrpTester, a_stop_signal_saves_the_work_and_the_rerun_gives_the_uninterrupted_result)
{
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(4441));  // composite
    const std::string checkpoint = file + ".ckpt";
    const SignalCase cases[] = {
        {"SIGTERM", SIGTERM, " -k -f0 -C600 ", "at step 2000 of"},
        {"SIGINT", SIGINT, " -k -f0 -C600 ", "at step 2000 of"},
        {"SIGHUP", SIGHUP, " -k -f0 -C600 ", "at step 2000 of"},
        {"SIGTERM, Lucas-Lehmer", SIGTERM, " -k -f0 -C600 -tm ", "at iteration 2000 of"},
    };
    for (const SignalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TesterResult uninterrupted = runTesterCommand(std::string(c.switches) + "-C0 ", file);
        ASSERT_EQ(uninterrupted.exitStatus, 1) << uninterrupted.err;

        RunningTester running(commandWords(c.switches, file), withEnvironment({"QUENDROLT_PRP_PAUSE_AT=2000"}));
        ASSERT_TRUE(running.waitForError("Paused at step 2000"));
        running.signal(c.signal);
        const TesterResult stopped = running.finish();
        EXPECT_EQ(stopped.signal, 0);
        EXPECT_EQ(stopped.exitStatus, 3) << stopped.err;
        EXPECT_EQ(stopped.out, "") << "no verdict from an interrupted test";
        EXPECT_NE(stopped.err.find("Interrupted at step 2000 of "), std::string::npos) << stopped.err;
        EXPECT_NE(stopped.err.find("the checkpoint holds the work done"), std::string::npos) << stopped.err;
        ASSERT_TRUE(std::filesystem::exists(checkpoint));

        const TesterResult resumed = runTesterCommand(c.switches, file);
        EXPECT_NE(resumed.err.find("Resuming from the checkpoint " + checkpoint + " " + c.resumedAt), std::string::npos)
            << resumed.err;
        EXPECT_EQ(resumed.exitStatus, 1);
        EXPECT_EQ(verdictPart(resumed), verdictPart(uninterrupted));
        EXPECT_FALSE(std::filesystem::exists(checkpoint));
    }
}

TEST_F(PrpTester, a_stop_signal_without_checkpoints_ends_the_test_and_says_nothing_was_kept)
{
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(4441));
    RunningTester running(commandWords(" -k -f0 -C0 ", file), withEnvironment({"QUENDROLT_PRP_PAUSE_AT=2000"}));
    ASSERT_TRUE(running.waitForError("Paused at step 2000"));
    running.signal(SIGTERM);
    const TesterResult stopped = running.finish();
    EXPECT_EQ(stopped.exitStatus, 3) << stopped.err;
    EXPECT_NE(stopped.err.find("no checkpoint holds the work (checkpoints are off)"), std::string::npos) << stopped.err;
    EXPECT_FALSE(std::filesystem::exists(file + ".ckpt"));
}

TEST_F(PrpTester, a_stop_signal_outside_the_long_test_ends_the_run_at_once)
{
    // Trial factoring of a prime to 10^12 would take hours.
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(4423));
    RunningTester running(commandWords(" -k -f1000000 ", file));
    ASSERT_TRUE(running.waitForError("Trial factoring to"));
    running.signal(SIGTERM);
    const TesterResult stopped = running.finish();
    EXPECT_EQ(stopped.signal, 0);
    EXPECT_EQ(stopped.exitStatus, 3) << stopped.err;
    EXPECT_NE(stopped.err.find("Interrupted: no long test in progress, nothing to save"), std::string::npos)
        << stopped.err;
}

struct MultiBaseCase {
    const char* name;
    const char* rerunSwitches;
};

TEST_F(PrpTester, a_rerun_of_several_bases_keeps_the_finished_ones_and_resumes_the_one_it_was_at)
{
    // 2^4423-1 is prime: every base passes. Killed at step 2,500 of the
    // second base (base 3), a checkpoint every 1,000 steps.
    const std::string label = prp::numberLabel(mersenneDigits(4423));
    const MultiBaseCase cases[] = {
        {"the same switches", " -k -f0 -C600 -b5 -b3 "},
        {"the bases in another order", " -k -f0 -C600 -b3 -b5 "},
    };
    for (const MultiBaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const std::string file = folder.write("last_PRP.txt", mersenneDigits(4423));
        const TesterResult killed =
            runTesterCommand(" -k -f0 -C600 -b5 -b3 ", file,
                             withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000", "QUENDROLT_PRP_KILL_AT=2:2500"}));
        ASSERT_EQ(killed.signal, SIGKILL) << killed.err;

        const TesterResult rerun = runTesterCommand(c.rerunSwitches, file);
        EXPECT_NE(rerun.err.find("Fermat PRP test to base 5: passed in an earlier run"), std::string::npos)
            << rerun.err;
        EXPECT_EQ(rerun.err.find("Fermat PRP test to base 5\n"), std::string::npos) << "base 5 again: " << rerun.err;
        EXPECT_NE(rerun.err.find("Resuming from the checkpoint " + file + ".ckpt at step 2000 of"), std::string::npos)
            << rerun.err;
        const unsigned long lastBase = std::string(c.rerunSwitches).ends_with("-b3 ") ? 3 : 5;
        expectLine(rerun, {label + " is " + std::to_string(lastBase) + "-PRP!", true, 0});
        EXPECT_FALSE(std::filesystem::exists(file + ".ckpt"));
    }
}

}  // namespace
}  // namespace prp_test
