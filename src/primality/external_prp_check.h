#pragma once
// The hidden run of the probable-prime tester used by the checks of large
// numbers and by the generator.
#include <QString>
#include <optional>
#include <string>

#include "engine/verdict.h"
#include "shell/app_context.h"

namespace primality {

// Why a hidden check reached no verdict of the tester. Each has shown its
// message already.
enum class NotRun { NumberFileNotWritten, TesterMissing, TesterNotLaunched };

// Deletes pfgw.ini and pfgw.out, writes digits to last_PRP.txt in the working
// directory and runs the tester hidden with " -k -T4 -f0 ". Counts the run in
// the tester-run counter and shows it in "QTY".
struct ExternalCheck {
    // Set when the tester did not run; verdict then means nothing.
    std::optional<NotRun> notRun;
    // CouldBePrime, IsComposite, PossiblePrime, Stopped, or NotDone when the
    // output held no recognised line.
    engine::Verdict verdict = engine::Verdict::NotDone;

    bool ran() const { return !notRun; }
};
[[nodiscard]] ExternalCheck externalPrpCheck(shell::AppContext& ctx, const std::string& digits);

// The results line that says why a check has no verdict of the tester.
QString notRunLine(NotRun reason);

// Adds one to the count of external runs and shows it in "QTY".
void countExternalRun(shell::AppContext& ctx);

}  // namespace primality
