#pragma once
// Ctrl+C ends a run at once. The searches run inside GMP calls that take
// seconds and poll nothing, so the handler itself ends the process: a message
// and _exit, both safe in a signal handler. No answer is printed after it.
namespace cli {

void endRunsOnInterrupt();

}  // namespace cli
