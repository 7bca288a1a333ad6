#pragma once
// The hidden run of the probable-prime tester, as the window's check of large
// numbers makes it (the number in last_PRP.txt, its switches, the verdict
// from its last result line), through the engine's process runner. Here the
// run happens in a fresh temporary directory, so that several runs never
// share their files, and the tester's progress lines are passed on.
#include <optional>
#include <string>

#include "cli/progress.h"
#include "engine/verdict.h"

namespace cli {

// The tester beside this program, else in ../libexec/quendrolt/ relative to
// it (the installed layout); nothing when neither holds it.
[[nodiscard]] std::optional<std::string> findTester();

struct TesterResult {
    engine::Verdict verdict = engine::Verdict::NotDone;  // Timeout when the limit ended it
    std::string resultLine;                              // its last result line
};

// Runs the tester on the digits. Throws InternalFailure when it cannot be
// started or does not run to its end, Interrupted on Ctrl+C, SIGTERM or
// SIGHUP (the tester and the directory are gone by then).
[[nodiscard]] TesterResult runTester(const std::string& program, const std::string& digits,
                                     std::optional<double> timeoutSeconds, Progress& progress);

}  // namespace cli
