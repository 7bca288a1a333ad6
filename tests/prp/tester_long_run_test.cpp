// Long runs of the built tester: killed and run again it resumes from its
// checkpoint; checkpoints it cannot trust are ignored with a note; a fault
// injected into the arithmetic is caught and the verdict stays right. Every
// interruption happens at a chosen step (the test hooks of
// tools/prp/test_hooks.h), never after a wait: the outcome does not depend
// on the machine's speed or load.
#include <filesystem>

#include "long_run_fixture.h"
#include "result_line.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

using arithmetic::BigInt;

struct ResumeCase {
    const char* name;
    std::string digits;
    const char* switches;
};

TEST_F(PrpTester, killed_run_resumes_from_its_checkpoint_with_the_uninterrupted_result)
{
    // The arithmetics a long run can be on: the IBDWT from 2^5000-1 (the
    // Fermat and the Lucas-Lehmer test), the general FFT from 10,000 bits,
    // the GMP registers below.
    const ResumeCase cases[] = {
        {"2^5003-1, Lucas-Lehmer", mersenneDigits(5003), " -k -f0 -tm "},
        {"2^5003-1, Fermat", mersenneDigits(5003), " -k -f0 "},
        {"10^3011+7, Fermat", "1" + std::string(3010, '0') + "7", " -k -f0 "},
        {"2^4423-1 times 3, Fermat", productDigits(mersenneDigits(4423), "3"), " -k -f0 -b5 "},
    };
    for (const ResumeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const std::string file = folder.write("last_PRP.txt", c.digits);
        const std::string checkpoint = file + ".ckpt";
        const TesterResult uninterrupted = runTesterCommand(std::string(c.switches) + "-C0 ", file);
        ASSERT_FALSE(uninterrupted.out.empty()) << uninterrupted.err;
        ASSERT_FALSE(std::filesystem::exists(checkpoint)) << "-C0 writes no checkpoint";

        // A checkpoint every 1,000 steps, killed at step 2,500 as a power
        // cut would: the checkpoint of step 2,000 is left.
        const TesterResult killed = runTesterCommand(
            std::string(c.switches) + "-C1 ", file,
            withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000", "QUENDROLT_PRP_KILL_AT=2500"}));
        ASSERT_EQ(killed.signal, SIGKILL) << killed.err;
        ASSERT_TRUE(std::filesystem::exists(checkpoint));

        TesterResult resumed = runTesterCommand(std::string(c.switches) + "-C1 ", file);
        EXPECT_NE(resumed.err.find("Resuming from the checkpoint " + checkpoint + " at "), std::string::npos)
            << resumed.err;
        EXPECT_NE(resumed.err.find(" 2000 of "), std::string::npos) << resumed.err;
        EXPECT_EQ(resumed.exitStatus, uninterrupted.exitStatus);
        EXPECT_EQ(verdictPart(resumed), verdictPart(uninterrupted));
        EXPECT_FALSE(std::filesystem::exists(checkpoint)) << "a finished test removes its checkpoint";
    }
}

// A real checkpoint of the base-3 test of 2^4423-1 (a prime), left next to
// the number file by a run stopped at step 2,000.
void leaveFermatCheckpoint(const std::string& numberFile)
{
    TesterResult stopped =
        runTesterCommand(" -k -f0 -C1 ", numberFile, withEnvironment({"QUENDROLT_PRP_STOP_AT=2000"}));
    ASSERT_EQ(stopped.exitStatus, 3) << stopped.err;
    ASSERT_TRUE(std::filesystem::exists(numberFile + ".ckpt"));
}

struct UntrustedCase {
    const char* name;
    unsigned long q;  // the number the tester is given: 2^q-1
    const char* switches;
    bool truncate;
    std::string note;
    std::string verdict;
};

TEST_F(PrpTester, checkpoints_it_cannot_trust_are_ignored_with_a_note)
{
    const UntrustedCase cases[] = {
        {"sound, as a control", 4423, " -k -f0 -C1 ", false, "Resuming from the checkpoint", " is 3-PRP!"},
        {"truncated", 4423, " -k -f0 -C1 ", true, "damaged or incomplete", " is 3-PRP!"},
        {"another base", 4423, " -k -f0 -C1 -b5 ", false, "another test (fermat base 3)", " is 5-PRP!"},
        {"another test", 4423, " -k -f0 -C1 -tm ", false, "another test",
         " is PRP! (proven prime by the Lucas-Lehmer test)"},
        {"another number", 4253, " -k -f0 -C1 ", false, "another number", " is 3-PRP!"},
    };
    for (const UntrustedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const std::string written = folder.write("written.txt", mersenneDigits(4423));
        leaveFermatCheckpoint(written);
        const std::string file = folder.write("last_PRP.txt", mersenneDigits(c.q));
        std::filesystem::rename(written + ".ckpt", file + ".ckpt");
        if (c.truncate)
            std::filesystem::resize_file(file + ".ckpt", std::filesystem::file_size(file + ".ckpt") / 2);
        TesterResult result = runTesterCommand(c.switches, file);
        expectLine(result, {prp::numberLabel(mersenneDigits(c.q)) + c.verdict, true, 0});
        EXPECT_NE(result.err.find(c.note), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(file + ".ckpt"));
    }
}

TEST_F(PrpTester, checkpoints_off_neither_reads_nor_writes_them)
{
    TempDir folder;
    const std::string file = folder.write("last_PRP.txt", mersenneDigits(4423));
    leaveFermatCheckpoint(file);
    const auto saved = std::filesystem::last_write_time(file + ".ckpt");
    TesterResult result = runTesterCommand(" -k -f0 -C0 ", file);
    expectLine(result, {prp::numberLabel(mersenneDigits(4423)) + " is 3-PRP!", true, 0});
    EXPECT_EQ(result.err.find("heckpoint"), std::string::npos) << result.err;
    ASSERT_TRUE(std::filesystem::exists(file + ".ckpt"));
    EXPECT_EQ(std::filesystem::last_write_time(file + ".ckpt"), saved);
}

struct FaultCase {
    const char* name;
    unsigned long q;
    const char* switches;
    uint64_t faultAt;
    std::string caught;
    ExpectedLine expected;
};

TEST_F(PrpTester, an_injected_fault_is_caught_and_the_verdict_stays_right)
{
    const std::string prime = prp::numberLabel(mersenneDigits(9941)), composite = prp::numberLabel(mersenneDigits(9949));
    const FaultCase cases[] = {
        {"Fermat, prime", 9941, " -k -f0 ", 5000, "Gerbicz check failed", {prime + " is 3-PRP!", true, 0}},
        {"Fermat, composite", 9949, " -k -f0 ", 9948, "Gerbicz check failed",
         {composite + " is composite: RES64: [" + prp::res64Text(fermatRes64(9949, 3)) + "]", true, 1}},
        // The Jacobi check sees about half of all errors; these ones it sees.
        {"Lucas-Lehmer, prime", 9941, " -k -f0 -tm ", 4000, "Jacobi check failed",
         {prime + " is PRP! (proven prime by the Lucas-Lehmer test)", true, 0}},
        {"Lucas-Lehmer, composite", 9949, " -k -f0 -tm ", 3000, "Jacobi check failed",
         {composite + " is composite: RES64: [" + prp::res64Text(lucasLehmerRes64(9949)) + "]", true, 1}},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir().write("last_PRP.txt", mersenneDigits(c.q));
        TesterResult result = runTesterCommand(
            c.switches, file, withEnvironment({"QUENDROLT_PRP_FAULT_AT_STEP=" + std::to_string(c.faultAt)}));
        expectLine(result, c.expected);
        EXPECT_NE(result.err.find(c.caught), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace prp_test
