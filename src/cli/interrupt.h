#pragma once
// Ctrl+C, SIGTERM and SIGHUP end a run with status 3 and no answer. The
// searches run inside GMP calls that take seconds and poll nothing, so the
// handler itself ends the process: a message and _exit, both safe in a signal
// handler. A run that must first end a child process and remove its files
// polls instead, while a PolledInterrupts lives.
#include <string>

#include "cli/failure.h"

namespace cli {

void endRunsOnInterrupt();

// The line an interrupt writes on standard output under --json (a JSON
// object with the error); empty for none.
void setInterruptedJson(const std::string& line);

class Interrupted : public Failure {
public:
    Interrupted() : Failure(ExitInterrupted, "interrupted") {}
};

// While one lives, an interrupt only sets a flag; the run checks it with
// interruptRequested() and throws Interrupted once its cleanup is done.
class PolledInterrupts {
public:
    PolledInterrupts();
    ~PolledInterrupts();
    PolledInterrupts(const PolledInterrupts&) = delete;
    PolledInterrupts& operator=(const PolledInterrupts&) = delete;
};

[[nodiscard]] bool interruptRequested();

}  // namespace cli
