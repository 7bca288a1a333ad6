// The tester under the limits a machine or a user sets: too little memory
// and a file-size limit end in one line and status 5, or in a test that
// goes on without checkpoints; never in a signal. The limits are set in the
// child (setrlimit), as `ulimit` would.
#include <filesystem>
#include <fstream>

#include "long_run_fixture.h"
#include "result_line.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

constexpr uint64_t kMiB = 1 << 20;

// Standard error ends in exactly one "Error: " line.
void expectOneErrorLine(const TesterResult& result)
{
    EXPECT_EQ(result.signal, 0) << result.err;
    EXPECT_EQ(result.exitStatus, 5) << result.err;
    EXPECT_EQ(result.out, "");
    const size_t error = result.err.find("Error: ");
    ASSERT_NE(error, std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("Error: ", error + 1), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\n', error), result.err.size() - 1) << "the error is the last line: " << result.err;
}

TEST_F(PrpTester, a_test_too_large_for_the_memory_limit_is_refused_in_one_line)
{
    // 30,000,000 sevens: the transforms alone would need gigabytes.
    const std::string file = dir().path() + "/last_PRP.txt";
    {
        std::ofstream out(file, std::ios::binary);
        const std::string block(1'000'000, '7');
        for (int i = 0; i < 30; ++i)
            out << block;
    }
    ChildSetup ulimitV300000;
    ulimitV300000.addressSpace = 300'000 * 1024ull;
    const TesterResult result = runTesterCommand(" -k -f0 ", file, ulimitV300000);
    expectOneErrorLine(result);
    EXPECT_NE(result.err.find("Error: not enough memory: the test needs at least "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("the address-space limit (ulimit -v) leaves "), std::string::npos) << result.err;
}

struct EstimateCase {
    const char* name;
    std::string digits;
    const char* switches;
};

TEST_F(PrpTester, the_memory_estimate_covers_what_the_test_takes)
{
    // Each test runs with its address space limited to its present size
    // plus its own estimate, and stops at step 200: every allocation of the
    // setup and of the loop, FFTW's planning included, fits.
    const EstimateCase cases[] = {
        {"GMP registers", productDigits(mersenneDigits(4423), "3"), " -k -f0 "},
        {"IBDWT, Fermat", mersenneDigits(5003), " -k -f0 "},
        {"IBDWT, Lucas-Lehmer", mersenneDigits(5003), " -k -f0 -tm "},
        {"general FFT", "1" + std::string(3010, '0') + "7", " -k -f0 "},
        // From length 32,768 the plans are measured, and made for two
        // threads.
        {"general FFT, measured plans, two threads", "1" + std::string(100'000, '0') + "7", " -k -f0 -T2 "},
    };
    for (const EstimateCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir().write("last_PRP.txt", c.digits);
        const TesterResult result = runTesterCommand(
            c.switches, file,
            withEnvironment({"QUENDROLT_PRP_TIGHT_MEMORY=100", "QUENDROLT_PRP_CHECKPOINT_STEPS=100",
                             "QUENDROLT_PRP_STOP_AT=200"}));
        EXPECT_EQ(result.signal, 0) << result.err;
        EXPECT_EQ(result.exitStatus, 3) << result.err;
        EXPECT_NE(result.err.find("Interrupted at step 200 of "), std::string::npos) << result.err;
    }
}

TEST_F(PrpTester, under_any_memory_limit_the_tester_ends_with_a_result_or_one_error_line)
{
    // Limits from below what the program needs to load up to enough for the
    // whole test: each one fails somewhere else (loading, reading, the
    // estimate, an allocation), and each failure is one line.
    const std::string file = dir().write("last_PRP.txt", "1" + std::string(3010, '0') + "7");
    for (uint64_t mebibytes : {8, 12, 16, 24, 32, 48, 64}) {
        SCOPED_TRACE(testing::Message() << mebibytes << " MiB");
        ChildSetup setup = withEnvironment({"QUENDROLT_PRP_STOP_AT=200"});
        setup.addressSpace = mebibytes * kMiB;
        const TesterResult result = runTesterCommand(" -k -f -T2 ", file, setup);
        EXPECT_EQ(result.signal, 0) << result.err;
        if (result.exitStatus == 127 && result.err.find("error while loading shared libraries") != std::string::npos)
            continue;  // too little for the loader to map the libraries: the tester never started
        if (result.exitStatus == 5)
            expectOneErrorLine(result);
        else  // a factor found, or the test stopped at step 200
            EXPECT_TRUE(result.exitStatus == 1 || result.exitStatus == 3) << result.err;
    }
}

TEST_F(PrpTester, a_file_size_limit_leaves_no_checkpoint_and_the_test_goes_on)
{
    // Each checkpoint of 2^6007-1 holds three residues of 1,502 hex digits:
    // more than the 4 KiB a file may have.
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(6007));
    ChildSetup setup = withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000"});
    setup.fileSize = 4096;  // ulimit -f 4
    const TesterResult result = runTesterCommand(" -k -f0 -C600 ", file, setup);
    EXPECT_EQ(result.signal, 0) << result.err;
    expectLine(result, {prp::numberLabel(mersenneDigits(6007)) + " is composite: RES64: [" +
                            prp::res64Text(fermatRes64(6007, 3)) + "]",
                        true, 1});
    const std::string note = "Cannot write the checkpoint " + file + ".ckpt (File too large): the test goes on without it";
    EXPECT_NE(result.err.find(note), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(note), result.err.rfind(note)) << "the reason once, not at every checkpoint";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir().path()), {}), 1)
        << "only the number file: no checkpoint, no temporary file";
}

}  // namespace
}  // namespace prp_test
