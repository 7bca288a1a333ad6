// The tester on the FFT arithmetic: GMP's RES64 with the vectorised passes
// and with those for processors without AVX-512, and the FFT plans measured
// once per machine and kept in the cache directory.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "long_run_fixture.h"
#include "result_line.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// 6,100 random digits (20,263 bits: the tester's FFT registers), from a seed.
std::string generalFftNumber()
{
    std::mt19937 random(20261211);
    std::string digits(6100, '0');
    for (char& digit : digits)
        digit = static_cast<char>('0' + random() % 10);
    digits.front() = '8';
    digits.back() = '7';
    return digits;
}

std::string compositeLine(const std::string& digits, uint64_t res64)
{
    return prp::numberLabel(digits) + " is composite: RES64: [" + prp::res64Text(res64) + "]";
}

TEST_F(PrpTester, general_fft_fermat_test_gives_gmps_res64_with_either_set_of_passes)
{
    const std::string digits = generalFftNumber();
    arithmetic::BigInt n, residue;
    ASSERT_EQ(mpz_set_str(n.get(), digits.c_str(), 10), 0);
    fermatResidue(n.get(), 3, residue.get());
    const std::string file = dir().write("last_PRP.txt", digits);
    for (const char* plain : {"0", "1"}) {
        SCOPED_TRACE(std::string("QUENDROLT_FFT_PLAIN=") + plain);
        TesterResult result = runTesterCommand(" -k -T2 -f0 ", file, withEnvironment({std::string("QUENDROLT_FFT_PLAIN=") + plain}));
        expectLine(result, {compositeLine(digits, low64(residue.get())), true, 1});
    }
}

TEST_F(PrpTester, ibdwt_gives_gmps_res64_on_one_and_two_threads_with_either_set_of_passes)
{
    constexpr unsigned long q = 21767;  // 2^21767-1 is composite
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(q));
    arithmetic::BigInt m, residue;
    setMersenne(m, q);
    fermatResidue(m.get(), 3, residue.get());
    const std::string expected = compositeLine(mersenneDigits(q), low64(residue.get()));
    for (const char* switches : {" -k -T1 -f0 ", " -k -T2 -f0 "}) {
        for (const char* plain : {"0", "1"}) {
            SCOPED_TRACE(std::string(switches) + " QUENDROLT_FFT_PLAIN=" + plain);
            TesterResult result = runTesterCommand(switches, file, withEnvironment({std::string("QUENDROLT_FFT_PLAIN=") + plain}));
            expectLine(result, {expected, true, 1});
        }
    }
}

TEST_F(PrpTester, fft_plans_are_measured_once_and_kept_a_damaged_file_is_replaced)
{
    // 2^21767-1: its transform (length 560) is long enough to be measured.
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(21767));
    const std::string cache = dir().path() + "/cache";
    const std::string wisdom = cache + "/fftw-wisdom.txt";
    const std::vector<std::string> environment = {"QUENDROLT_CACHE_DIR=" + cache};
    const std::string measured = "FFT plans measured";

    TesterResult first = runTesterCommand(" -k -f0 ", file, withEnvironment(environment));
    EXPECT_NE(first.err.find(measured), std::string::npos) << first.err;
    ASSERT_TRUE(std::filesystem::is_regular_file(wisdom));
    const std::string kept = readFile(wisdom);
    EXPECT_TRUE(kept.starts_with("quendrolt fftw wisdom 1\n")) << kept;

    TesterResult second = runTesterCommand(" -k -f0 ", file, withEnvironment(environment));
    EXPECT_EQ(second.err.find(measured), std::string::npos) << second.err;
    EXPECT_EQ(verdictPart(second), verdictPart(first));
    EXPECT_EQ(readFile(wisdom), kept);

    dir().write("cache/fftw-wisdom.txt", kept.substr(0, kept.size() / 2));
    TesterResult third = runTesterCommand(" -k -f0 ", file, withEnvironment(environment));
    EXPECT_NE(third.err.find("damaged or from another FFTW or processor: ignored"), std::string::npos) << third.err;
    EXPECT_NE(third.err.find(measured), std::string::npos) << third.err;
    EXPECT_EQ(verdictPart(third), verdictPart(first));
    EXPECT_TRUE(readFile(wisdom).starts_with("quendrolt fftw wisdom 1\n"));
}

}  // namespace
}  // namespace prp_test
