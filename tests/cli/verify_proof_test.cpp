// verify-proof on the proofs the tester writes (-proof P): proofs of a
// prime and a composite hold; a damaged, cut or forged proof, or one of
// another number, is refused with its reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "arithmetic/sha256.h"
#include "cli_runner.h"
#include "engine/decimal_text.h"

using namespace cli_test;

namespace {

const std::string kTester = std::filesystem::path(QUENDROLT_CLI_PATH).parent_path() / "pfgw64_133mm.exe";

std::string mersenneDigits(unsigned long q)
{
    engine::BigInt m;
    mpz_setbit(m.get(), q);
    mpz_sub_ui(m.get(), m.get(), 1);
    return engine::toDecimal(m);
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The number file and its proof of power 4, made by the tester.
std::string provenNumberFile(const TemporaryDirectory& dir, const std::string& name, const std::string& digits)
{
    const std::string file = dir.write(name, digits);
    CliRun tester = runCommand({kTester, "-f0", "-proof", "4", file});
    EXPECT_TRUE(tester.status == 0 || tester.status == 1) << tester.err;
    EXPECT_TRUE(std::filesystem::exists(file + ".b3.proof")) << tester.err;
    return file;
}

// The file with its checksum line made to fit again, as a forger would.
std::string withChecksumRedone(std::string bytes)
{
    size_t checksum = bytes.rfind("sha256 ");
    bytes.resize(checksum);
    return bytes + "sha256 " + arithmetic::hexDigest(arithmetic::sha256(bytes)) + "\n";
}

}  // namespace

TEST(CliVerifyProof, proofs_of_a_prime_and_a_composite_hold_and_give_the_test_result)
{
    TemporaryDirectory dir;
    const std::string prime = mersenneDigits(4423);
    const std::string composite = mersenneDigits(4423) + "1";
    const std::string primeFile = provenNumberFile(dir, "prime.txt", prime);
    const std::string compositeFile = provenNumberFile(dir, "composite.txt", composite);

    CliRun p = runCli({"verify-proof", primeFile + ".b3.proof", "--short", "-q"});
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_TRUE(p.out.ends_with(" is 3-PRP! (the proof of power 4 holds)\n")) << p.out;
    CliRun c = runCli({"verify-proof", compositeFile + ".b3.proof", "@" + compositeFile, "--json", "-q"});
    EXPECT_EQ(c.status, 1) << c.err;
    EXPECT_NE(c.out.find("\"holds\":true"), std::string::npos) << c.out;
    EXPECT_NE(c.out.find("\"probable_prime\":false"), std::string::npos) << c.out;
}

TEST(CliVerifyProof, damaged_cut_forged_and_foreign_proofs_are_refused_with_the_reason)
{
    TemporaryDirectory dir;
    const std::string file = provenNumberFile(dir, "n.txt", mersenneDigits(4423));
    const std::string bytes = readText(file + ".b3.proof");
    const size_t residues = bytes.find("residues\n") + 9;
    std::string flipped = bytes;
    flipped[residues + 100] ^= 4;

    struct Case {
        const char* name;
        std::string proof;   // bytes of the proof file
        std::string number;  // the number argument
        int status;
        std::string message;  // in standard error (status 2) or output (5)
    };
    const Case cases[] = {
        {"a flipped bit", flipped, "@" + file, 2, "its checksum does not match"},
        {"cut short", bytes.substr(0, bytes.size() / 2), "@" + file, 2, "truncated"},
        {"another number", bytes, mersenneDigits(4253), 2, "of another number"},
        {"a forged residue", withChecksumRedone(flipped), "@" + file, 5, "the proof does not hold"},
    };
    for (const Case& c : cases) {
        const std::string proof = dir.write("case.b3.proof", c.proof);
        CliRun run = runCli({"verify-proof", proof, c.number, "-q"});
        EXPECT_EQ(run.status, c.status) << c.name << run.out << run.err;
        EXPECT_NE((c.status == 2 ? run.err : run.out).find(c.message), std::string::npos)
            << c.name << ": " << run.out << run.err;
    }
    CliRun unnamed = runCli({"verify-proof", dir.write("proof.bin", bytes), "-q"});
    EXPECT_EQ(unnamed.status, 2);
    EXPECT_NE(unnamed.err.find("name the number"), std::string::npos) << unnamed.err;
}
