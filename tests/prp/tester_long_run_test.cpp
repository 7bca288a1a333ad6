// Long runs of the built tester: killed and run again it resumes from its
// checkpoint; checkpoints it cannot trust are ignored with a note; a fault
// injected into the arithmetic is caught and the verdict stays right.
#include <filesystem>

#include "arithmetic/checked_powering.h"
#include "checkpoint_file.h"
#include "long_run_fixture.h"
#include "result_line.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

using arithmetic::BigInt;

std::string mersenneLabel(unsigned long q)
{
    return prp::numberLabel(mersenneDigits(q));
}

// The last Lucas-Lehmer term of 2^q - 1, by plain mpz arithmetic.
uint64_t lucasLehmerRes64(unsigned long q)
{
    BigInt m, s(4);
    setMersenne(m, q);
    for (unsigned long i = 0; i + 2 < q; ++i) {
        mpz_mul(s.get(), s.get(), s.get());
        mpz_sub_ui(s.get(), s.get(), 2);
        mpz_mod(s.get(), s.get(), m.get());
    }
    return low64(s.get());
}

uint64_t fermatRes64(unsigned long q, unsigned long base)
{
    BigInt m, residue;
    setMersenne(m, q);
    fermatResidue(m.get(), base, residue.get());
    return low64(residue.get());
}

TEST_F(PrpTester, killed_run_resumes_from_its_checkpoint_with_the_uninterrupted_result)
{
    // 2^120011-1 is composite and takes seconds even on the FFT arithmetic,
    // long enough for a one-second checkpoint; for 2^q-1 the tester always
    // runs on its registers.
    constexpr unsigned long q = 120011;
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(q));
    const std::string checkpoint = file + ".ckpt";
    for (const char* switches : {" -k -f0 -C1 -tm ", " -k -f0 -C1 "}) {
        SCOPED_TRACE(switches);
        std::string uninterruptedSwitches = switches;
        uninterruptedSwitches.replace(uninterruptedSwitches.find("-C1"), 3, "-C0");
        const TesterResult uninterrupted = runTesterCommand(uninterruptedSwitches, file);
        ASSERT_EQ(uninterrupted.exitStatus, 1) << uninterrupted.out;
        ASSERT_FALSE(std::filesystem::exists(checkpoint)) << "-C0 writes no checkpoint";
        {
            RunningTester interrupted(commandWords(switches, file));
            ASSERT_TRUE(interrupted.waitForFile(checkpoint)) << "finished before its first checkpoint";
            interrupted.kill();
        }
        TesterResult resumed = runTesterCommand(switches, file);
        EXPECT_EQ(resumed.exitStatus, 1);
        EXPECT_TRUE(verdictPart(resumed).starts_with(mersenneLabel(q) + " is composite: RES64: [")) << resumed.out;
        EXPECT_EQ(verdictPart(resumed), verdictPart(uninterrupted));
        EXPECT_NE(resumed.err.find("Resuming from the checkpoint"), std::string::npos) << resumed.err;
        EXPECT_FALSE(std::filesystem::exists(checkpoint)) << "a finished test removes its checkpoint";
    }
}

// A real checkpoint of the base-3 test of 2^4423-1 (a prime), left next to
// the number file by a powering that died part-way.
void leaveFermatCheckpoint(const std::string& numberFile)
{
    BigInt n, exponent, unused;
    setMersenne(n, 4423);
    mpz_sub_ui(exponent.get(), n.get(), 1);
    InterruptingArithmetic dying(n.get(), 4, 2000);
    prp::CheckpointFile store(numberFile, 1e-9, arithmetic::numberIdentity(n.get()), "fermat base 3");
    EXPECT_THROW(arithmetic::checkedPower(dying, 3, exponent.get(), n.get(), store, {}, "test", unused.get()),
                 Interrupted);
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
        {"another base", 4423, " -k -f0 -C1 -b5 ", false, "another number or test", " is 5-PRP!"},
        {"another test", 4423, " -k -f0 -C1 -tm ", false, "another number or test",
         " is PRP! (proven prime by the Lucas-Lehmer test)"},
        {"another number", 4253, " -k -f0 -C1 ", false, "another number or test", " is 3-PRP!"},
    };
    for (const UntrustedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const std::string file = folder.write("last_PRP.txt", mersenneDigits(c.q));
        leaveFermatCheckpoint(file);
        if (c.truncate)
            std::filesystem::resize_file(file + ".ckpt", std::filesystem::file_size(file + ".ckpt") / 2);
        TesterResult result = runTesterCommand(c.switches, file);
        expectLine(result, {mersenneLabel(c.q) + c.verdict, true, 0});
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
    expectLine(result, {mersenneLabel(4423) + " is 3-PRP!", true, 0});
    EXPECT_EQ(result.err.find("checkpoint"), std::string::npos) << result.err;
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
    const std::string prime = mersenneLabel(9941), composite = mersenneLabel(9949);
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
        TesterResult result =
            runTesterCommand(c.switches, file, {"QUENDROLT_PRP_FAULT_AT_STEP=" + std::to_string(c.faultAt)});
        expectLine(result, c.expected);
        EXPECT_NE(result.err.find(c.caught), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace prp_test
