#pragma once
// The one error convention of quendrolt-cli. A command returns the exit
// status of its answer (found, composite, undecided). Whatever keeps it from
// answering is thrown as a Failure that carries its exit status; only main
// reports it (one line on standard error, and a JSON object on standard
// output under --json) and ends with that status. Nothing below main prints
// an error or ends the process, except the interrupt handler (interrupt.h).
#include <stdexcept>
#include <string>

#include "cli/exit_status.h"

namespace cli {

class Failure : public std::runtime_error {
public:
    Failure(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
    [[nodiscard]] ExitStatus status() const { return status_; }

private:
    ExitStatus status_;
};

// The arguments or the number were not usable: exit 2.
class BadInput : public Failure {
public:
    explicit BadInput(const std::string& message) : Failure(ExitBadInput, message) {}
};

// The tester, a worker process or the output failed; no answer: exit 4.
class InternalFailure : public Failure {
public:
    explicit InternalFailure(const std::string& message) : Failure(ExitInternalError, message) {}
};

}  // namespace cli
