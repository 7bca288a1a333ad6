#include "process_guards.h"

#include <gmp.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "tester_run.h"

namespace prp {

namespace {

arithmetic::StopRequest stopRequest;

// Async-signal-safe: write(2) and _exit only.
void writeError(const char* text) { (void)!::write(STDERR_FILENO, text, std::strlen(text)); }

extern "C" void onStopSignal(int)
{
    if (stopRequest.polled.load() && !stopRequest.requested.exchange(true))
        return;  // the loop saves its state after the current step and ends
    writeError(stopRequest.requested.load() ? "Interrupted again: ending without waiting for the checkpoint\n"
                                            : "Interrupted: no long test in progress, nothing to save\n");
    _exit(kExitInterrupted);
}

[[noreturn]] void gmpOutOfMemory(size_t bytes)
{
    char digits[24];
    char* at = digits + sizeof digits;
    *--at = '\0';
    do
        *--at = static_cast<char>('0' + bytes % 10);
    while (bytes /= 10);
    writeError("Error: not enough memory: GMP cannot allocate ");
    writeError(at);
    writeError(" bytes\n");
    _exit(kExitError);
}

void* gmpAllocate(size_t bytes)
{
    void* data = std::malloc(bytes);
    if (!data)
        gmpOutOfMemory(bytes);
    return data;
}

void* gmpReallocate(void* data, size_t, size_t bytes)
{
    void* moved = std::realloc(data, bytes);
    if (!moved)
        gmpOutOfMemory(bytes);
    return moved;
}

void gmpFree(void* data, size_t) { std::free(data); }

}  // namespace

arithmetic::StopRequest& installProcessGuards()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    ::signal(SIGXFSZ, SIG_IGN);
    mp_set_memory_functions(gmpAllocate, gmpReallocate, gmpFree);
    return stopRequest;
}

}  // namespace prp
