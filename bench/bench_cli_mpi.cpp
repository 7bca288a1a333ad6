// quendrolt-cli next-prime on 1 and 2 MPI ranks, 2,000- and 3,000-digit
// starts: wall times and the speed-up. Then the costs the scaling model in
// docs/cli_scaling.md is built from (one base-2 strong test, one sieve
// residue) and the model's times to a 10,000- and a 100,000-digit random
// prime on 1, 16 and 256 cores.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "engine/candidate_sieve.h"
#include "engine/decimal_text.h"
#include "engine/prime_search.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The costs are measured in processor time of this process: on a machine
// shared with other work the wall time of one call says more about the others.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A start of `digits` digits from a fixed seed, so that runs compare alike.
std::string startOf(int digits, unsigned seed)
{
    std::mt19937 random(seed);
    std::string text(1, static_cast<char>('1' + random() % 9));
    while (static_cast<int>(text.size()) < digits)
        text += static_cast<char>('0' + random() % 10);
    return text;
}

double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall;
    double cpu;  // of mpirun and every rank
};

// `mpirun -np ranks quendrolt-cli next-prime @file`; the prime goes to `prime`.
Timing timedSearch(int ranks, const std::string& file, std::string& prime)
{
    const double cpuBefore = childrenCpuSeconds();
    const std::string command = std::string(MPIEXEC_PATH) + " --oversubscribe --allow-run-as-root -np " +
                                std::to_string(ranks) + " " + QUENDROLT_CLI_PATH + " next-prime -q --short @" + file;
    const Clock::time_point start = Clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    char line[256] = "";
    if (!pipe || !fgets(line, sizeof line, pipe))
        std::fprintf(stderr, "run failed: %s\n", command.c_str());
    if (pipe)
        pclose(pipe);
    prime = line;
    return {secondsSince(start), childrenCpuSeconds() - cpuBefore};
}

void randomNumber(engine::BigInt& n, int digits)
{
    engine::setFromDecimal(n, startOf(digits, 11));
    mpz_setbit(n.get(), 0);
}

// One strong test to base 2 is one modular power: what a composite survivor costs.
double testSeconds(int digits)
{
    engine::BigInt n, x, e;
    randomNumber(n, digits);
    mpz_sub_ui(e.get(), n.get(), 1);
    mpz_set_ui(x.get(), 2);
    const int repeats = digits <= 3000 ? 5 : 1;
    const double start = cpuSeconds();
    for (int i = 0; i < repeats; ++i)
        mpz_powm(x.get(), x.get(), e.get(), n.get());
    return (cpuSeconds() - start) / repeats;
}

// Seconds per sieving prime: the residue of n modulo it dominates the sieve.
double residueSeconds(int digits)
{
    engine::BigInt n;
    randomNumber(n, digits);
    const uint64_t depth = 2'000'000;
    const double start = cpuSeconds();
    engine::sieveCandidates(n, engine::SearchDirection::Up, 4096, depth, 1);
    return (cpuSeconds() - start) / (static_cast<double>(depth) / std::log(static_cast<double>(depth)));
}

struct Costs {
    double test;     // seconds per base-2 strong test
    double residue;  // seconds per sieving prime per block
};

// Expected seconds to the prime after a random candidate of `digits` digits
// on `cores` ranks, with the block plan of quendrolt-cli (engine search for one core).
double modelSeconds(double digits, int cores, const Costs& costs)
{
    const double bits = digits * std::log2(10.0);
    const double gapOdds = bits * std::log(2.0) / 2;
    const double engineDepth = static_cast<double>(engine::sieveDepthFor(static_cast<size_t>(bits)));
    const double confirm = 4 * costs.test;  // GMP's BPSW and one more round on the prime found
    auto primesBelow = [](double y) { return y / std::log(y); };
    auto survivorShare = [](double y) { return 1.123 / std::log(y); };
    if (cores == 1)
        return primesBelow(engineDepth) * costs.residue + gapOdds * survivorShare(engineDepth) * costs.test + confirm;
    const double blockOdds = std::max(16.0, gapOdds / (4.0 * cores));
    const double depth = std::clamp(engineDepth * blockOdds / (5.6 * bits), 1000.0, engineDepth);
    const double blockSeconds = primesBelow(depth) * costs.residue + blockOdds * survivorShare(depth) * costs.test;
    const double rounds = gapOdds / (cores * blockOdds) + 0.5;
    return rounds * blockSeconds + confirm;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool modelOnly = argc > 1 && std::string(argv[1]) == "--model-only";
    char directory[] = "/tmp/bench-cli-XXXXXX";
    if (!mkdtemp(directory))
        return 1;
    setenv("OMPI_ALLOW_RUN_AS_ROOT", "1", 1);
    setenv("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1", 1);
    // On a machine shared with other work the wall ratio understates the
    // speed-up; the CPU seconds show the work the ranks share: with free
    // cores the speed-up is 2 x CPU(1 rank) / CPU(2 ranks).
    std::printf("next-prime under mpirun: wall seconds (CPU seconds of all processes)\n");
    std::printf("%8s %18s %18s %11s %16s\n", "digits", "1 rank", "2 ranks", "wall ratio", "on free cores");
    for (int digits : {2000, 3000}) {
        if (modelOnly)
            break;
        const std::string file = std::string(directory) + "/start" + std::to_string(digits) + ".txt";
        FILE* out = std::fopen(file.c_str(), "w");
        std::fputs(startOf(digits, static_cast<unsigned>(digits)).c_str(), out);
        std::fclose(out);
        std::string alone, spread;
        const Timing one = timedSearch(1, file, alone);
        const Timing two = timedSearch(2, file, spread);
        std::printf("%8d %8.2f (%6.2f) %8.2f (%6.2f) %10.2fx %15.2fx%s\n", digits, one.wall, one.cpu, two.wall, two.cpu,
                    one.wall / two.wall, 2 * one.cpu / two.cpu, alone == spread ? "" : "  (primes differ!)");
        std::fflush(stdout);
        std::remove(file.c_str());
    }
    rmdir(directory);

    std::printf("\ncosts on this machine\n");
    Costs at10k{testSeconds(10000), residueSeconds(10000)};
    for (int digits : {2000, 3000})
        std::printf("  %6d digits: base-2 strong test %.4f s\n", digits, testSeconds(digits));
    std::printf("  %6d digits: base-2 strong test %.4f s, residue per sieving prime %.3g s\n", 10000, at10k.test,
                at10k.residue);
    // Beyond 10,000 digits GMP multiplies by FFT: a test grows as about
    // digits^2.1 (a power of digits^1.1 squarings), a residue as digits.
    const double growth = std::pow(10.0, 2.1);
    Costs at100k{at10k.test * growth, at10k.residue * 10};
    std::printf("  %6d digits: base-2 strong test %.1f s, residue %.3g s (extrapolated)\n", 100000, at100k.test,
                at100k.residue);

    std::printf("\nmodel: expected time to a random prime\n%8s %12s %12s %12s\n", "digits", "1 core", "16 cores",
                "256 cores");
    for (auto [digits, costs] : {std::pair{10000.0, at10k}, std::pair{100000.0, at100k}}) {
        std::printf("%8.0f", digits);
        for (int cores : {1, 16, 256})
            std::printf(" %11.0fs", modelSeconds(digits, cores, costs));
        std::printf("\n");
    }
    return 0;
}
