// The tester program against bare GMP. It runs the built binary, so its
// times include process start-up, reading the file and converting the
// number: what the calling program really waits for.
//   1. base-3 Fermat test of a 10,000-digit number: tester vs one mpz_powm
//      in this process (the tester's FFT registers from 10,000 bits on:
//      target faster);
//   2. 2^86243-1: the tester's Lucas-Lehmer test vs its Fermat test
//      (target: faster);
//   3. base-3 Fermat test of a 50,000-digit composite: the tester end to
//      end, first with an empty cache directory (it measures its FFT plans)
//      and again (they come from its wisdom), vs one mpz_powm; target 6x.
// Both wall and processor times are printed: on a machine shared with other
// work the processor times (the child's from wait4) are the steadier ratio.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/big_integer.h"
#include "engine/decimal_text.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

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
    double wall = 1e9;
    double processor = 1e9;

    void keepBest(const Timing& other)
    {
        wall = std::min(wall, other.wall);
        processor = std::min(processor, other.processor);
    }
};

// Runs the tester with the parameter words and the file; returns its wall
// and processor times and its result line.
Timing runTester(const std::string& parameters, const std::string& file, std::string& line)
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
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Timing timing{seconds(start), toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime)};
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream out(outPath);
    std::getline(out, line);
    return timing;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string randomOddDigits(size_t count)
{
    std::mt19937 random(1959);
    std::string digits(count, '0');
    for (char& digit : digits)
        digit = static_cast<char>('0' + random() % 10);
    digits.front() = '7';
    digits.back() = '9';
    return digits;
}

void fermatAgainstBarePowm(const std::string& dir)
{
    const std::string digits = randomOddDigits(10'000);
    const std::string file = dir + "/fermat_10000.txt";
    writeFile(file, digits);

    engine::BigInt n, exponent, base(3), residue;
    engine::setFromDecimal(n, digits);
    mpz_sub_ui(exponent.get(), n.get(), 1);

    constexpr int kRounds = 3;
    Timing powm, tester;
    std::string line;
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        double processStart = processSeconds();
        mpz_powm(residue.get(), base.get(), exponent.get(), n.get());
        powm.keepBest({seconds(start), processSeconds() - processStart});
        tester.keepBest(runTester(" -k -T4 -f0 ", file, line));
    }
    std::printf("Fermat base 3, 10,000 digits (best of %d)      wall     processor\n", kRounds);
    std::printf("  bare mpz_powm                    %8.4f s  %8.4f s\n", powm.wall, powm.processor);
    std::printf("  tester -k -T4 -f0 (whole run)    %8.4f s  %8.4f s   %s\n", tester.wall, tester.processor,
                line.substr(line.find(" is ")).c_str());
    std::printf("  ratio tester/powm                %8.3f    %8.3f     (target < 1)\n", tester.wall / powm.wall,
                tester.processor / powm.processor);
}

void fermatFiftyThousandDigits(const std::string& dir)
{
    std::string digits = randomOddDigits(50'000);
    const std::string file = dir + "/fermat_50000.txt";
    writeFile(file, digits);

    std::string cold, warm;
    Timing first = runTester(" -k -T4 -f0 ", file, cold);
    Timing second = runTester(" -k -T4 -f0 ", file, warm);

    engine::BigInt n, exponent, base(3), residue;
    engine::setFromDecimal(n, digits);
    mpz_sub_ui(exponent.get(), n.get(), 1);
    auto start = Clock::now();
    double processStart = processSeconds();
    mpz_powm(residue.get(), base.get(), exponent.get(), n.get());
    Timing powm{seconds(start), processSeconds() - processStart};

    std::printf("Fermat base 3, 50,000-digit composite             wall     processor\n");
    std::printf("  bare mpz_powm                    %8.2f s  %8.2f s\n", powm.wall, powm.processor);
    std::printf("  tester, plans measured first     %8.2f s  %8.2f s   %s\n", first.wall, first.processor,
                cold.substr(cold.find(" is ")).c_str());
    std::printf("  tester, plans from its wisdom    %8.2f s  %8.2f s   %s\n", second.wall, second.processor,
                warm.substr(warm.find(" is ")).c_str());
    std::printf("  ratio powm/tester (warm)         %8.2f    %8.2f     (target >= 6)\n", powm.wall / second.wall,
                powm.processor / second.processor);
}

void lucasLehmerAgainstFermat(const std::string& dir)
{
    constexpr unsigned long q = 86243;
    engine::BigInt mersenne;
    mpz_setbit(mersenne.get(), q);
    mpz_sub_ui(mersenne.get(), mersenne.get(), 1);
    const std::string file = dir + "/mersenne_86243.txt";
    writeFile(file, engine::toDecimal(mersenne));

    std::string llLine, fermatLine;
    // One untimed run measures the transforms' plans: both tests then find
    // them in the wisdom.
    (void)runTester(" -k -T4 -tm -f0 ", file, llLine);
    Timing ll = runTester(" -k -T4 -tm -f0 ", file, llLine);
    Timing fermat = runTester(" -k -T4 -f0 ", file, fermatLine);
    std::printf("2^86243-1 (25,962 digits)                      wall     processor\n");
    std::printf("  tester -tm -f0 (Lucas-Lehmer)    %8.3f s  %8.3f s   %s\n", ll.wall, ll.processor,
                llLine.substr(llLine.find(" is ")).c_str());
    std::printf("  tester -f0 (Fermat base 3)       %8.3f s  %8.3f s   %s\n", fermat.wall, fermat.processor,
                fermatLine.substr(fermatLine.find(" is ")).c_str());
    std::printf("  ratio LL/Fermat                  %8.3f    %8.3f     (target < 1)\n", ll.wall / fermat.wall,
                ll.processor / fermat.processor);
}

}  // namespace

int main()
{
#ifndef PRP_TESTER_PATH
    std::printf("bench_prp_tester: the tester program is not part of this build\n");
    return 0;
#else
    char pattern[] = "/tmp/bench_prp_XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = pattern;
    // The tester's FFT wisdom goes to a cache directory of this run's own,
    // empty at the start.
    setenv("QUENDROLT_CACHE_DIR", (dir + "/cache").c_str(), 1);
    fermatAgainstBarePowm(dir);
    lucasLehmerAgainstFermat(dir);
    fermatFiftyThousandDigits(dir);
    std::filesystem::remove_all(dir);
    return 0;
#endif
}
