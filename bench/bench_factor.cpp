// `quendrolt-cli factor` against gp's `factor` on balanced semiprimes p*q
// (p and q of the same number of digits, the case ECM is worst at), in the
// same run, on the same numbers: 20+20, 25+25, 30+30 and 35+35 digits, a few
// of each. Each side runs as a child process; the wall time and the
// child's processor time (from wait4) are printed with their ratios, and
// both answers are checked to hold p.
//   --quick    20+20 and 30+30 digits only
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmp.h>

namespace {

using Clock = std::chrono::steady_clock;

double toSeconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + 1e-6 * static_cast<double>(time.tv_usec);
}

struct Run {
    double wall = 0;
    double processor = 0;
    int status = 0;
    std::string out;
};

// Runs the words with standard output into a file, and reads it back.
Run runChild(std::vector<std::string> words, const std::string& outPath)
{
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    rusage usage{};
    wait4(child, &run.status, 0, &usage);
    run.wall = std::chrono::duration<double>(Clock::now() - start).count();
    run.processor = toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
    posix_spawn_file_actions_destroy(&actions);
    std::ostringstream text;
    text << std::ifstream(outPath).rdbuf();
    run.out = text.str();
    return run;
}

std::string decimal(const mpz_t n)
{
    char* text = mpz_get_str(nullptr, 10, n);
    std::string digits(text);
    std::free(text);
    return digits;
}

struct Semiprime {
    std::string p, n;
};

// A prime of exactly `digits` digits from the random state.
void randomPrime(mpz_t p, unsigned digits, gmp_randstate_t state)
{
    mpz_t low, span;
    mpz_inits(low, span, nullptr);
    mpz_ui_pow_ui(low, 10, digits - 1);
    mpz_mul_ui(span, low, 9);
    do {
        mpz_urandomm(p, state, span);
        mpz_add(p, p, low);
        mpz_nextprime(p, p);
    } while (mpz_sizeinbase(p, 10) > digits && decimal(p).size() > digits);
    mpz_clears(low, span, nullptr);
}

Semiprime balancedSemiprime(unsigned digits, unsigned long seed)
{
    gmp_randstate_t state;
    gmp_randinit_default(state);
    gmp_randseed_ui(state, seed);
    mpz_t p, q, n;
    mpz_inits(p, q, n, nullptr);
    randomPrime(p, digits, state);
    do
        randomPrime(q, digits, state);
    while (mpz_cmp(p, q) == 0);
    mpz_mul(n, p, q);
    Semiprime result{decimal(p), decimal(n)};
    mpz_clears(p, q, n, nullptr);
    gmp_randclear(state);
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const std::vector<unsigned> sizes = quick ? std::vector<unsigned>{20, 30} : std::vector<unsigned>{20, 25, 30, 35};
    char pattern[] = "/tmp/bench_factor_XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = pattern;
    const std::string script = dir + "/factor.gp";
    const std::string out = dir + "/out";

    std::printf("factor of balanced semiprimes: quendrolt-cli factor (budget 600 s) against gp's factor, same numbers\n");
    std::printf("  digits  seed   ours wall   ours cpu    gp wall    gp cpu   ratio wall  ratio cpu\n");
    for (unsigned digits : sizes) {
        const unsigned cases = digits >= 35 ? 1 : 2;
        for (unsigned long seed = 1; seed <= cases; ++seed) {
            const Semiprime semiprime = balancedSemiprime(digits, seed * 1000 + digits);
            Run ours = runChild({QUENDROLT_CLI_PATH, "factor", semiprime.n, "--timeout", "600", "-q"}, out);
            std::ofstream(script) << "print(factor(" << semiprime.n << "));\nquit;\n";
            Run gp = runChild({"gp", "-q", "-D", "parisizemax=2G", script}, out);
            const bool oursFound = ours.out.find(semiprime.p + " prime") != std::string::npos;
            const bool gpFound = gp.out.find(semiprime.p) != std::string::npos;
            std::printf("  %2u+%-2u  %4lu  %9.2f s %9.2f s %9.2f s %9.2f s   %8.2f   %8.2f  %s%s\n", digits, digits,
                        seed, ours.wall, ours.processor, gp.wall, gp.processor, ours.wall / gp.wall,
                        ours.processor / gp.processor, oursFound ? "" : "OURS DID NOT FACTOR IT ",
                        gpFound ? "" : "(gp did not)");
            std::fflush(stdout);
        }
    }
    std::remove(script.c_str());
    std::remove(out.c_str());
    rmdir(dir.c_str());
    return 0;
}
