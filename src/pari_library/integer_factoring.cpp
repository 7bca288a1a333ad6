#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <sstream>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pari/pari.h>

#include "pari_library/integer_factoring.h"
#include "pari_library/pari_session_internal.h"

namespace pari_library {

namespace {

void writeAll(int fd, const char* text, size_t size)
{
    while (size > 0) {
        ssize_t written = write(fd, text, size);
        if (written <= 0 && errno != EINTR)
            return;
        if (written > 0) {
            text += written;
            size -= static_cast<size_t>(written);
        }
    }
}

// The child: factorint, then "p <prime>" lines (one per multiplicity) or
// "e <message>", and an exit without running any of the parent's cleanup.
[[noreturn]] void factorInChild(const char* number, int out)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1)
        _exit(1);
    auto body = [&] {
        GEN matrix = factorint(strtoi(number), 0);
        GEN primes = gel(matrix, 1), exponents = gel(matrix, 2);
        for (long i = 1; i < lg(primes); ++i) {
            char* prime = GENtostr(gel(primes, i));
            for (long k = itos(gel(exponents, i)); k > 0; --k) {
                writeAll(out, "p ", 2);
                writeAll(out, prime, std::strlen(prime));
                writeAll(out, "\n", 1);
            }
        }
    };
    std::optional<internal::CaughtError> error = internal::caught(body);
    if (error) {
        std::string line = "e " + error->message + "\n";
        writeAll(out, line.data(), line.size());
    }
    close(out);
    _exit(error ? 1 : 0);
}

}  // namespace

Factoring factorCompletely(const std::string& digits, double seconds,
                           const std::function<bool(double elapsed)>& keepWaiting)
{
    internal::ensureStarted();
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        throw PariError(std::string("cannot start the factoring: ") + std::strerror(errno));
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        throw PariError(std::string("cannot start the factoring: ") + std::strerror(errno));
    }
    if (child == 0) {
        close(pipeEnds[0]);
        factorInChild(digits.c_str(), pipeEnds[1]);
    }
    close(pipeEnds[1]);

    std::string output;
    bool timedOut = false;
    for (;;) {
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (elapsed >= seconds || (keepWaiting && !keepWaiting(elapsed))) {
            timedOut = true;
            break;
        }
        pollfd ready{pipeEnds[0], POLLIN, 0};
        int wait = static_cast<int>(std::min(0.1, seconds - elapsed) * 1000) + 1;
        int got = poll(&ready, 1, wait);
        if (got < 0 && errno != EINTR)
            break;
        if (got > 0) {
            char buffer[4096];
            ssize_t read = ::read(pipeEnds[0], buffer, sizeof buffer);
            if (read == 0)
                break;  // the child is done
            if (read > 0)
                output.append(buffer, static_cast<size_t>(read));
        }
    }
    close(pipeEnds[0]);
    if (timedOut)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    Factoring factoring;
    if (timedOut)
        return factoring;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("p "))
            factoring.primes.push_back(line.substr(2));
        else if (line.starts_with("e "))
            throw PariError(line.substr(2));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || factoring.primes.empty())
        throw PariError("the factoring process ended without an answer");
    factoring.complete = true;
    return factoring;
}

}  // namespace pari_library
