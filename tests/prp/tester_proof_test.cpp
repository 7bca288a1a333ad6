// The tester's "-proof P": the proof files it leaves verify for primes and
// composites, for every base tested, after a kill and a resume too, and the
// residues it keeps during the run are bounded and removed at the end.
#include <csignal>
#include <filesystem>

#include "arguments.h"
#include "arithmetic/checkpoint.h"
#include "arithmetic/powering_proof.h"
#include "arithmetic/proof_file.h"
#include "long_run_fixture.h"
#include "proof_files.h"
#include "storage/whole_file.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

using arithmetic::BigInt;
namespace fs = std::filesystem;

// Reads the proof file and checks it against the number file's number.
arithmetic::ProofCheck verifyProofFile(const std::string& proofPath, const std::string& digits,
                                       arithmetic::FermatProofReading* out = nullptr)
{
    std::string bytes;
    EXPECT_EQ(storage::readWholeFile(proofPath, bytes), storage::FileReadStatus::Read) << proofPath;
    arithmetic::FermatProofReading reading = arithmetic::readFermatProof(bytes);
    if (!reading.ok)
        return {false, reading.problem};
    BigInt n, exponent;
    mpz_set_str(n.get(), digits.c_str(), 10);
    EXPECT_EQ(reading.numberId, arithmetic::numberIdentity(n.get()));
    mpz_sub_ui(exponent.get(), n.get(), 1);
    arithmetic::ProofCheck check = arithmetic::verifyPoweringProof(reading.proof, exponent.get(), n.get(), 1);
    if (out)
        *out = std::move(reading);
    return check;
}

size_t filesIn(const std::string& folder)
{
    std::error_code ignored;
    size_t count = 0;
    for (auto it = fs::directory_iterator(folder, ignored); it != fs::directory_iterator(); ++it)
        ++count;
    return count;
}

TEST(TesterArguments, proof_takes_a_power_from_1_to_16_attached_or_as_the_next_piece)
{
    struct Case {
        std::vector<const char*> words;
        unsigned power;  // 0: refused
    };
    const Case cases[] = {
        {{"-proof", "8", "n.txt"}, 8},
        {{"-f0 -proof 8 -C5", "n.txt"}, 8},
        {{"-proof16", "n.txt"}, 16},
        {{"-proof", "0", "n.txt"}, 0},
        {{"-proof", "17", "n.txt"}, 0},
        {{"-proof", "n.txt"}, 0},
        {{"-proof"}, 0},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"tester"};
        argv.insert(argv.end(), c.words.begin(), c.words.end());
        prp::ParsedArguments parsed = prp::parseArguments(static_cast<int>(argv.size()), argv.data());
        std::string shown;
        for (const char* word : c.words)
            shown += std::string(word) + "|";
        EXPECT_EQ(parsed.ok, c.power > 0) << shown << " " << parsed.error;
        if (parsed.ok) {
            EXPECT_EQ(parsed.options.proofPower, c.power) << shown;
            EXPECT_EQ(parsed.options.numberFile, "n.txt") << shown;
        } else {
            EXPECT_NE(parsed.error.find("-proof takes a power from 1 to 16"), std::string::npos) << parsed.error;
        }
    }
}

TEST_F(PrpTester, proof_files_of_a_prime_and_a_composite_verify_for_every_base)
{
    struct Case {
        const char* name;
        std::string digits;
        const char* switches;
        std::vector<unsigned long> bases;
        int exitStatus;
    };
    const Case cases[] = {
        {"2^4423-1, prime", mersenneDigits(4423), " -f0 -proof 4 -b3 -b5 ", {3, 5}, 0},
        {"2^4423-1 times 2^4253-1", productDigits(mersenneDigits(4423), mersenneDigits(4253)), " -f0 -proof 6 ",
         {3}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir().write("last_PRP.txt", c.digits);
        TesterResult result = runTesterCommand(c.switches, file);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.out << result.err;
        for (unsigned long base : c.bases) {
            const std::string proof = prp::proofFileName(file, base);
            ASSERT_TRUE(fs::exists(proof)) << result.err;
            EXPECT_FALSE(fs::exists(proof + ".residues")) << "the residues outlive the proof";
            arithmetic::FermatProofReading reading;
            arithmetic::ProofCheck check = verifyProofFile(proof, c.digits, &reading);
            EXPECT_TRUE(check.holds) << check.reason;
            EXPECT_EQ(reading.proof.base, base);
            EXPECT_EQ(mpz_cmp_ui(reading.proof.result.get(), 1) == 0, c.exitStatus == 0);
            // (P + 1) residues of the number's size, and a short header and checksum.
            BigInt n;
            mpz_set_str(n.get(), c.digits.c_str(), 10);
            size_t residues = (reading.proof.power + 1) * ((mpz_sizeinbase(n.get(), 2) + 7) / 8);
            EXPECT_LE(fs::file_size(proof), residues + 300);
            EXPECT_NE(result.err.find("Proof of power"), std::string::npos) << result.err;
        }
        EXPECT_FALSE(fs::exists(file + ".ckpt"));
    }
}

TEST_F(PrpTester, a_killed_run_with_proof_resumes_and_still_gives_a_proof_that_verifies)
{
    // 2^21767-1 (composite) on the IBDWT; P = 5 keeps at most 31 residues on
    // disk. A checkpoint every 1,000 steps, killed at step 15,500 as a power
    // cut would: the checkpoint of step 15,000 and the residues before it
    // are left.
    constexpr unsigned long q = 21767;
    const std::string digits = mersenneDigits(q);
    const std::string file = dir().write("last_PRP.txt", digits);
    const std::string proof = prp::proofFileName(file, 3);
    const char* switches = " -f0 -C1 -proof 5 ";
    const TesterResult killed = runTesterCommand(
        switches, file, withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000", "QUENDROLT_PRP_KILL_AT=15500"}));
    ASSERT_EQ(killed.signal, SIGKILL) << killed.err;
    EXPECT_GT(filesIn(proof + ".residues"), 0u);
    EXPECT_LE(filesIn(proof + ".residues"), 31u);
    EXPECT_FALSE(fs::exists(proof));

    TesterResult resumed = runTesterCommand(switches, file);
    EXPECT_EQ(resumed.exitStatus, 1) << resumed.out;
    EXPECT_NE(resumed.err.find("Resuming from the checkpoint"), std::string::npos) << resumed.err;
    arithmetic::ProofCheck check = verifyProofFile(proof, digits);
    EXPECT_TRUE(check.holds) << check.reason;
    EXPECT_FALSE(fs::exists(proof + ".residues"));
    EXPECT_FALSE(fs::exists(file + ".ckpt"));
}

TEST_F(PrpTester, residues_lost_after_a_kill_make_the_run_start_over_and_the_proof_still_verifies)
{
    // P = 3: s1 is kept at an eighth of the exponent's bits; the kill at
    // step 15,500 of 2^21767-1 leaves a checkpoint well past it.
    constexpr unsigned long q = 21767;
    const std::string digits = mersenneDigits(q);
    const std::string file = dir().write("last_PRP.txt", digits);
    const std::string proof = prp::proofFileName(file, 3);
    const char* switches = " -f0 -C1 -proof 3 ";
    const TesterResult killed = runTesterCommand(
        switches, file, withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000", "QUENDROLT_PRP_KILL_AT=15500"}));
    ASSERT_EQ(killed.signal, SIGKILL) << killed.err;

    // The residue is damaged: one byte of it changed.
    std::string bytes;
    ASSERT_EQ(storage::readWholeFile(proof + ".residues/s1", bytes), storage::FileReadStatus::Read);
    bytes[bytes.size() / 2] ^= 1;
    dir().write("last_PRP.txt.b3.proof.residues/s1", bytes);

    TesterResult rerun = runTesterCommand(switches, file);
    EXPECT_EQ(rerun.exitStatus, 1) << rerun.out;
    EXPECT_NE(rerun.err.find("are not all kept: starting from the beginning"), std::string::npos) << rerun.err;
    arithmetic::ProofCheck check = verifyProofFile(proof, digits);
    EXPECT_TRUE(check.holds) << check.reason;
}

}  // namespace
}  // namespace prp_test
