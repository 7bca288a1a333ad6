#include "cli/interrupt.h"

#include <csignal>
#include <unistd.h>

#include "cli/exit_status.h"

namespace cli {

namespace {

void endRun(int)
{
    static const char message[] = "\nquendrolt-cli: interrupted\n";
    ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    (void)written;
    _exit(ExitInterrupted);
}

}  // namespace

void endRunsOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = endRun;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace cli
