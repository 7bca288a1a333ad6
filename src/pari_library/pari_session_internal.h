#pragma once
// For the files of this folder only: starting PARI and running code under
// its catch. Include after <pari/pari.h>.
#include <optional>
#include <string>

#include "pari_library/pari_session.h"

namespace pari_library::internal {

// Starts PARI once per process (the thread engine on every core).
void ensureStarted();

// Sends PARI's output to `lines` until the scope ends.
class OutputCapture {
public:
    explicit OutputCapture(const OutputLines& lines);
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;
};

struct CaughtError {
    long number = 0;  // PARI's error number (e_ALARM, e_STACK, ...)
    std::string message;
};

// Runs `body` under PARI's catch and resets PARI's stack afterwards. The
// body may use PARI and plain C data only: an error longjmps out of it, so
// anything with a destructor inside would be skipped. Returns PARI's error
// when it raised one.
std::optional<CaughtError> runCaught(void (*body)(void* context), void* context);

// Copies PARI's text (GENtostr's results live on PARI's stack, which
// runCaught resets) to a malloc'ed string the caller frees with std::free.
char* copyOut(const char* text);

// runCaught for a lambda (which must obey the same rule).
template <typename Body>
std::optional<CaughtError> caught(Body& body)
{
    return runCaught([](void* context) { (*static_cast<Body*>(context))(); }, &body);
}

}  // namespace pari_library::internal
