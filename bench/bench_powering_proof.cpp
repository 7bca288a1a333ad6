// The cost of the tester's proofs (-proof 8) on two numbers of 109,297
// digits: the repunit R(109297) = (10^109297 - 1)/9, a probable prime, and
// a random odd number of the same size, a composite. For each, in one run:
//   1. the tester without a proof against the tester with -proof 8 (target:
//      at most 3 % more);
//   2. verifying the proof against the test without a proof (target: at
//      most 1 %; expected about 1/2^8 plus short powerings), with estimated
//      FFT plans as verify-proof makes them;
//   3. the disk the residues take during the run (target: at most 2^8 times
//      the size of N) and the proof file (P + 1 = 9 residues).
// The tester runs with one thread (-T1) and both wall and processor times
// are printed: on a machine shared with other work the processor times (the
// child's from wait4, this process's clock) are the steady ratio.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "arithmetic/big_integer.h"
#include "arithmetic/fft_plans.h"
#include "arithmetic/powering_proof.h"
#include "arithmetic/proof_file.h"

namespace {

using arithmetic::BigInt;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr unsigned kPower = 8;
constexpr size_t kDigits = 109'297;

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double toSeconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + 1e-6 * static_cast<double>(time.tv_usec);
}

struct Timing {
    double wall = 0;
    double processor = 0;
};

uintmax_t folderBytes(const std::string& folder)
{
    std::error_code ignored;
    uintmax_t total = 0;
    for (auto it = fs::directory_iterator(folder, ignored); it != fs::directory_iterator(); it.increment(ignored))
        total += it->is_regular_file(ignored) ? it->file_size(ignored) : 0;
    return total;
}

// Runs the tester on the file; while it runs, the largest size the folder
// `watched` reaches is kept in peakBytes.
Timing runTester(const std::string& parameters, const std::string& file, std::string& line,
                 const std::string& watched, uintmax_t& peakBytes)
{
    std::vector<std::string> words = {PRP_TESTER_PATH};
    std::istringstream split(parameters);
    for (std::string word; split >> word;)
        words.push_back(word);
    words.push_back(file);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::string outPath = file + ".out";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (file + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    peakBytes = 0;
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        peakBytes = std::max(peakBytes, folderBytes(watched));
        usleep(50'000);
    }
    Timing timing{seconds(start), toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime)};
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream out(outPath);
    std::getline(out, line);
    return timing;
}

// The tester's note "Proof built in <s> s (<s> s of processor time)".
std::string buildNote(const std::string& file)
{
    std::ifstream err(file + ".err");
    for (std::string line; std::getline(err, line);)
        if (line.starts_with("Proof built in "))
            return line.substr(15);
    return "(no note)";
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void measure(const char* name, mpz_srcptr n, const std::string& dir)
{
    char* text = mpz_get_str(nullptr, 10, n);
    const std::string file = dir + "/number.txt";
    std::ofstream(file, std::ios::binary) << text;
    std::free(text);
    const std::string proofPath = file + ".b3.proof";
    const size_t nBytes = (mpz_sizeinbase(n, 2) + 7) / 8;

    std::string plainLine, provenLine;
    uintmax_t unusedPeak = 0, residuePeak = 0;
    Timing plain = runTester(" -k -T1 -f0 -C0 ", file, plainLine, dir + "/none", unusedPeak);
    Timing proven =
        runTester(" -k -T1 -f0 -C0 -proof " + std::to_string(kPower), file, provenLine, proofPath + ".residues",
                  residuePeak);

    arithmetic::FermatProofReading reading = arithmetic::readFermatProof(readBytes(proofPath));
    BigInt exponent;
    mpz_sub_ui(exponent.get(), n, 1);
    auto start = Clock::now();
    double processStart = processSeconds();
    arithmetic::ProofCheck check{false, reading.problem};
    if (reading.ok)
        check = arithmetic::verifyPoweringProof(reading.proof, exponent.get(), n, 1);
    Timing verify{seconds(start), processSeconds() - processStart};

    std::printf("%s (%zu digits, %zu bytes)                    wall       processor\n", name, kDigits, nBytes);
    std::printf("  tester -T1 -f0                      %9.2f s  %9.2f s   %s\n", plain.wall, plain.processor,
                plainLine.substr(plainLine.find(" is ")).c_str());
    std::printf("  tester -T1 -f0 -proof %u             %9.2f s  %9.2f s   %s\n", kPower, proven.wall,
                proven.processor, provenLine.substr(provenLine.find(" is ")).c_str());
    std::printf("  of which building the proof         %s\n", buildNote(file).c_str());
    std::printf("  verify the proof (1 thread)         %9.3f s  %9.3f s   %s\n", verify.wall, verify.processor,
                check.holds ? "holds" : check.reason.c_str());
    std::printf("  test with proof / without           %9.4f    %9.4f     (target <= 1.03)\n",
                proven.wall / plain.wall, proven.processor / plain.processor);
    std::printf("  verification / test                 %9.4f    %9.4f     (target <= 0.01)\n",
                verify.wall / plain.wall, verify.processor / plain.processor);
    std::printf("  residues on disk at most            %9.1f x N              (target <= %u)\n",
                static_cast<double>(residuePeak) / static_cast<double>(nBytes), 1u << kPower);
    std::printf("  proof file                          %9.2f x N              (%u residues)\n",
                static_cast<double>(fs::file_size(proofPath)) / static_cast<double>(nBytes), kPower + 1);
    std::fflush(stdout);
}

}  // namespace

int main()
{
#ifndef PRP_TESTER_PATH
    std::printf("bench_powering_proof: the tester program is not part of this build\n");
    return 0;
#else
    char pattern[] = "/tmp/bench_proof_XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = pattern;
    // A verification is short: FFTW's measured planning (seconds) would
    // outweigh it, as it would in quendrolt-cli verify-proof, which estimates.
    arithmetic::fft::setPlanning(arithmetic::fft::Planning::Estimate);

    BigInt repunit;
    mpz_ui_pow_ui(repunit.get(), 10, kDigits);
    mpz_sub_ui(repunit.get(), repunit.get(), 1);
    mpz_divexact_ui(repunit.get(), repunit.get(), 9);
    measure("R(109297)", repunit.get(), dir);

    BigInt random;
    gmp_randstate_t state;
    gmp_randinit_default(state);
    gmp_randseed_ui(state, 1959);
    mpz_urandomm(random.get(), state, repunit.get());
    mpz_add(random.get(), random.get(), repunit.get());  // R .. 2R: same digit count
    mpz_setbit(random.get(), 0);
    gmp_randclear(state);
    measure("random odd", random.get(), dir);

    fs::remove_all(dir);
    return 0;
#endif
}
