#include "cli/interrupt.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <exception>
#include <unistd.h>

#include "cli/exit_status.h"

namespace cli {

namespace {

std::atomic<bool> polling{false};
std::atomic<bool> requested{false};
// Written before the run starts, read by the handler: a fixed buffer, since
// the handler may not allocate.
char jsonLine[512];
size_t jsonLength = 0;

void writeAll(int fd, const char* text, size_t length)
{
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written <= 0)
            return;
        text += written;
        length -= static_cast<size_t>(written);
    }
}

[[noreturn]] void endNow()
{
    static const char message[] = "\nquendrolt-cli: interrupted\n";
    writeAll(STDERR_FILENO, message, sizeof message - 1);
    writeAll(STDOUT_FILENO, jsonLine, jsonLength);
    _exit(ExitInterrupted);
}

void onInterrupt(int)
{
    requested = true;
    if (!polling)
        endNow();
}

}  // namespace

void endRunsOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void setInterruptedJson(const std::string& line)
{
    if (line.size() + 1 > sizeof jsonLine) {
        jsonLength = 0;
        return;
    }
    std::memcpy(jsonLine, line.data(), line.size());
    jsonLine[line.size()] = '\n';
    jsonLength = line.size() + 1;
}

PolledInterrupts::PolledInterrupts() { polling = true; }

// An interrupt that came after the run's last check still ends the process;
// one the run has seen is on its way to main as Interrupted.
PolledInterrupts::~PolledInterrupts()
{
    polling = false;
    if (requested && std::uncaught_exceptions() == 0)
        endNow();
}

bool interruptRequested() { return requested; }

}  // namespace cli
