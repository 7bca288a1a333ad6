#pragma once
// The one place that starts PARI and runs its calls. PARI keeps its own
// stack and reports errors by longjmp; the callers here see neither: every
// call runs inside PARI's own catch, its stack is reset afterwards, and an
// error comes back as a PariError with PARI's message. PARI installs no
// signal handlers (Ctrl+C stays the program's), leaves GMP's memory
// functions alone, and grows its stack on demand up to a few GiB.
//
// Nothing of PARI's (GEN, pari_sp, its macros) appears in these headers.
#include <functional>
#include <stdexcept>
#include <string>

namespace pari_library {

struct PariError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// PARI's run-time output (its debug lines) goes line by line to this
// function while set, with the terminal colours taken out; empty: dropped.
using OutputLines = std::function<void(const std::string& line)>;

}  // namespace pari_library
