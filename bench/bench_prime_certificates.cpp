// Elliptic-curve primality certificates through our PARI wrapper against
// gp's own primecert on the same numbers, in the same run: the first
// probable primes above 10^299, 10^499, 10^999 (and 10^1999 with --full:
// an hour or more), then the check of each certificate (what verify-cert
// runs). It is the same library, so the ratio should stay within 10 %.
// Both use PARI's thread engine on every core. Wall and processor times are
// printed: the processor times (this process's clock, the gp child's from
// wait4) are the steady figures on a machine shared with other work.
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
#include <string>
#include <vector>

#include <gmp.h>

#include "pari_library/primality_certificate.h"

namespace {

using Clock = std::chrono::steady_clock;

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

std::string firstPrimeAbovePowerOfTen(unsigned exponent)
{
    mpz_t n;
    mpz_init(n);
    mpz_ui_pow_ui(n, 10, exponent);
    mpz_nextprime(n, n);
    char* text = mpz_get_str(nullptr, 10, n);
    std::string digits(text);
    std::free(text);
    mpz_clear(n);
    return digits;
}

// gp -q on a script that certifies the number and checks the certificate.
Timing gpPrimecert(const std::string& digits, const std::string& dir, bool& valid)
{
    const std::string script = dir + "/primecert.gp";
    std::ofstream(script) << "c = primecert(" << digits << ");\nprint(primecertisvalid(c));\nquit;\n";
    const std::string out = dir + "/primecert.out";
    std::vector<std::string> words = {"gp", "-q", "-D", "parisizemax=4G", script};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, "gp", &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("gp");
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    std::string line;
    std::ifstream(out) >> line;
    valid = line == "1";
    return {seconds(start), toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime)};
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<unsigned> exponents = {299, 499, 999};
    if (argc > 1 && std::strcmp(argv[1], "--full") == 0)
        exponents.push_back(1999);
    char pattern[] = "/tmp/bench_certificates_XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = pattern;

    std::printf("ECPP certificates: our PARI wrapper (prove) against gp's primecert, same numbers\n");
    std::printf("  digits   ours wall   ours cpu    gp wall    gp cpu   ratio wall  ratio cpu   steps   check wall  check cpu\n");
    for (unsigned exponent : exponents) {
        const std::string digits = firstPrimeAbovePowerOfTen(exponent);
        auto start = Clock::now();
        double processStart = processSeconds();
        pari_library::Certificate certificate = pari_library::certifyPrime(digits, nullptr);
        Timing ours{seconds(start), processSeconds() - processStart};

        bool gpValid = false;
        Timing gp = gpPrimecert(digits, dir, gpValid);

        start = Clock::now();
        processStart = processSeconds();
        pari_library::CertificateCheck check = pari_library::checkCertificate(certificate.pariText);
        Timing checking{seconds(start), processSeconds() - processStart};
        bool valid = check.result == pari_library::CertificateCheck::Result::Valid && check.number == digits;

        std::printf("  %6zu  %9.2f s %9.2f s %9.2f s %9.2f s   %8.3f   %8.3f   %5zu  %9.3f s %9.3f s  %s%s\n",
                    digits.size(), ours.wall, ours.processor, gp.wall, gp.processor, ours.wall / gp.wall,
                    ours.processor / gp.processor, certificate.steps, checking.wall, checking.processor,
                    valid ? "valid" : "NOT VALID", gpValid ? "" : " (gp's not valid)");
        std::fflush(stdout);
    }
    std::remove((dir + "/primecert.gp").c_str());
    std::remove((dir + "/primecert.out").c_str());
    rmdir(dir.c_str());
    return 0;
}
