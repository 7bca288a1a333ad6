// quendrolt-cli next-prime on the same starts in three layouts of two cores:
// 1 rank x 1 thread, 2 ranks x 1 thread, 1 rank x 2 threads (2,000- and
// 3,000-digit starts, a few each): wall times and the speed-ups against one
// rank of one thread, measured. Then the costs the scaling model of
// docs/cli_scaling.md starts from, measured on this machine at 10,000,
// 100,000 and 1,000,000 digits, and the model's times to a random prime on
// 1, 16, 256 and 4,096 cores. --model-only skips the runs; --starts N sets
// the starts of each size (3).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "arithmetic/strong_test.h"
#include "engine/candidate_sieve.h"
#include "engine/decimal_text.h"
#include "engine/prime_confirmation.h"
#include "engine/prime_search.h"
#include "engine/search_plan.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

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

struct Layout {
    const char* name;
    int ranks;
    int threads;
};

constexpr Layout kLayouts[] = {{"1 rank x 1 thread", 1, 1}, {"2 ranks x 1 thread", 2, 1}, {"1 rank x 2 threads", 1, 2}};

// `mpirun -np ranks quendrolt-cli next-prime --threads T @file`: wall seconds;
// the prime goes to `prime`.
double timedSearch(const Layout& layout, const std::string& file, std::string& prime)
{
    const std::string command = std::string(MPIEXEC_PATH) + " --oversubscribe --allow-run-as-root -np " +
                                std::to_string(layout.ranks) + " " + QUENDROLT_CLI_PATH + " next-prime -q --short --threads " +
                                std::to_string(layout.threads) + " @" + file;
    const Clock::time_point start = Clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    char line[256] = "";
    if (!pipe || !fgets(line, sizeof line, pipe))
        std::fprintf(stderr, "run failed: %s\n", command.c_str());
    if (pipe)
        pclose(pipe);
    prime = line;
    return secondsSince(start);
}

void measureLayouts(const char* directory, int starts)
{
    std::printf("next-prime, wall seconds summed over %d starts (same starts in every layout)\n", starts);
    std::printf("%8s %20s %20s %20s %12s %12s %10s\n", "digits", kLayouts[0].name, kLayouts[1].name, kLayouts[2].name,
                "2 ranks", "2 threads", "2r / 2t");
    for (int digits : {2000, 3000}) {
        double seconds[3] = {0, 0, 0};
        bool agree = true;
        for (int s = 0; s < starts; ++s) {
            const std::string file = std::string(directory) + "/start.txt";
            FILE* out = std::fopen(file.c_str(), "w");
            std::fputs(startOf(digits, static_cast<unsigned>(digits + s)).c_str(), out);
            std::fclose(out);
            std::string primes[3];
            for (int l = 0; l < 3; ++l)
                seconds[l] += timedSearch(kLayouts[l], file, primes[l]);
            agree = agree && primes[0] == primes[1] && primes[0] == primes[2];
            std::remove(file.c_str());
        }
        std::printf("%8d %20.2f %20.2f %20.2f %11.2fx %11.2fx %9.2fx%s\n", digits, seconds[0], seconds[1], seconds[2],
                    seconds[0] / seconds[1], seconds[0] / seconds[2], seconds[2] / seconds[1],
                    agree ? "" : "  (primes differ!)");
        std::fflush(stdout);
    }
}

void oddNumberOf(engine::BigInt& n, int digits)
{
    engine::setFromDecimal(n, startOf(digits, 11));
    mpz_setbit(n.get(), 0);
}

struct Costs {
    double test;         // one base-2 strong test, processor seconds of one thread
    double word;         // the sieve per word of sieving primes
    double confirmation; // GMP's Baillie-PSW part on the prime found
    bool confirmationMeasured;
};

// The confirmation's Baillie-PSW part is GMP's own arithmetic: its cost is
// measured on a 3,000-digit prime (found by the engine's search) as a
// multiple of one mpz_powm there, and mpz_powm is measured at 10,000 digits
// and scaled as D^2.1 beyond (D squarings of D^1.1 each, GMP's FFT range).
double gmpPowmSeconds(const engine::BigInt& n)
{
    engine::BigInt x, e;
    mpz_sub_ui(e.get(), n.get(), 1);
    mpz_set_ui(x.get(), 2);
    const double start = cpuSeconds();
    mpz_powm(x.get(), x.get(), e.get(), n.get());
    return cpuSeconds() - start;
}

struct ConfirmationCost {
    double perPowm;   // Baillie-PSW part / one mpz_powm, at 3,000 digits
    double powm10k;   // one mpz_powm at 10,000 digits
};

ConfirmationCost measureConfirmation()
{
    engine::BigInt prime, n;
    oddNumberOf(prime, 3000);
    engine::nextPrime(prime);
    double start = cpuSeconds();
    const bool passed = engine::passesBailliePsw(prime.get());
    const double bpsw = cpuSeconds() - start;
    oddNumberOf(n, 10000);
    ConfirmationCost cost{passed ? bpsw / gmpPowmSeconds(prime) : -1, gmpPowmSeconds(n)};
    std::printf("GMP's Baillie-PSW part on a 3,000-digit prime: %.2f mpz_powm; mpz_powm at 10,000 digits %.2f s\n",
                cost.perPowm, cost.powm10k);
    return cost;
}

Costs measureCosts(int digits, const ConfirmationCost& confirmation)
{
    engine::BigInt n;
    oddNumberOf(n, digits);
    const size_t bits = mpz_sizeinbase(n.get(), 2);
    const engine::SearchCosts measured =
        engine::measureSearchCosts(n, engine::intervalOddsFor(bits), engine::TestLayout{1, 1});
    const double powm = confirmation.powm10k * std::pow(digits / 10000.0, 2.1);
    return {measured.testSeconds, measured.wordSeconds, confirmation.perPowm * powm, digits == 10000};
}

// Expected seconds from a random start to its prime on `cores` ranks of one
// thread: each rank sieves 1/P of the sieving primes and tests every P-th
// survivor, in rounds of k tests each; the round that meets the prime runs
// to its end (half a round lost on average); then the confirmation, its
// Baillie-PSW part on one rank while another runs the random round.
double modelSeconds(int digits, int cores, const Costs& costs)
{
    const size_t bits = static_cast<size_t>(digits * std::log2(10.0));
    const engine::SearchCosts search{costs.test, costs.word};
    const uint64_t depth = engine::depthByRemovalRule(bits, search);
    const double tests = engine::expectedTests(bits, depth);
    const double sieve = engine::expectedSearchSeconds(bits, depth, search) - tests * costs.test;
    const double p = cores;
    const double perRound = std::max(1.0, std::ceil(tests / (32 * p)));
    const double rounds = cores == 1 ? tests : std::ceil(tests / (p * perRound) + 0.5);
    const double testing = cores == 1 ? tests * costs.test : rounds * perRound * costs.test;
    return sieve / p + testing + costs.confirmation + (cores == 1 ? costs.test : 0);
}

std::string shown(double seconds)
{
    char text[32];
    if (seconds < 120)
        std::snprintf(text, sizeof text, "%.1f s", seconds);
    else if (seconds < 7200)
        std::snprintf(text, sizeof text, "%.1f min", seconds / 60);
    else if (seconds < 172800)
        std::snprintf(text, sizeof text, "%.1f h", seconds / 3600);
    else
        std::snprintf(text, sizeof text, "%.1f days", seconds / 86400);
    return text;
}

void printModel()
{
    std::printf("\ncosts on this machine (processor seconds of one thread)\n");
    const ConfirmationCost confirmation = measureConfirmation();
    std::vector<std::pair<int, Costs>> sizes;
    for (int digits : {10000, 100000, 1000000}) {
        const Clock::time_point start = Clock::now();
        sizes.emplace_back(digits, measureCosts(digits, confirmation));
        std::fprintf(stderr, "costs at %d digits measured in %.1f s\n", digits, secondsSince(start));
    }
    std::printf("%9s %14s %16s %10s %16s %14s\n", "digits", "strong test", "sieve per word", "depth", "tests expected",
                "BPSW part");
    for (const auto& [digits, costs] : sizes) {
        const size_t bits = static_cast<size_t>(digits * std::log2(10.0));
        const uint64_t depth = engine::depthByRemovalRule(bits, {costs.test, costs.word});
        std::printf("%9d %12.4g s %14.3g s %10.3g %16.0f %12.4g s%s\n", digits, costs.test, costs.word,
                    static_cast<double>(depth), engine::expectedTests(bits, depth), costs.confirmation,
                    costs.confirmationMeasured ? "" : " (extrapolated)");
    }
    std::printf("\nmodel: expected time to a random prime\n%9s", "digits");
    const int coreCounts[] = {1, 16, 256, 4096};
    for (int cores : coreCounts)
        std::printf(" %14d", cores);
    std::printf("   cores\n");
    for (const auto& [digits, costs] : sizes) {
        std::printf("%9d", digits);
        for (int cores : coreCounts)
            std::printf(" %14s", shown(modelSeconds(digits, cores, costs)).c_str());
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool modelOnly = false;
    int starts = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--model-only")
            modelOnly = true;
        else if (word == "--starts" && i + 1 < argc)
            starts = std::max(1, std::atoi(argv[++i]));
    }
    setenv("OMPI_ALLOW_RUN_AS_ROOT", "1", 1);
    setenv("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1", 1);
    if (!modelOnly) {
        char directory[] = "/tmp/bench-cli-XXXXXX";
        if (!mkdtemp(directory))
            return 1;
        measureLayouts(directory, starts);
        rmdir(directory);
    }
    printModel();
    return 0;
}
