#pragma once
// The hidden run of the probable-prime tester, as the window's check of large
// numbers makes it: the number in last_PRP.txt, the switches "-k -T4 -f0",
// the verdict from its last result line. Here the run happens in a fresh
// temporary directory, so several runs never share their files.
#include <optional>
#include <string>

#include "engine/verdict.h"

namespace cli {

// The tester beside this program, else in ../libexec/quendrolt/ relative to
// it (the installed layout); nothing when neither exists.
std::optional<std::string> findTester();

struct TesterResult {
    bool ran = false;        // false: the tester could not be started or died
    engine::Verdict verdict = engine::Verdict::NotDone;  // when it ran
    std::string resultLine;  // its last result line
    std::string failure;     // why it did not run
};

TesterResult runTester(const std::string& program, const std::string& digits);

}  // namespace cli
