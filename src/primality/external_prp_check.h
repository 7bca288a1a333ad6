#pragma once
// The hidden run of the probable-prime tester used by the checks of large
// numbers and by the generator.
#include <string>

#include "engine/verdict.h"
#include "shell/app_context.h"

namespace primality {

// Deletes pfgw.ini and pfgw.out, writes digits to last_PRP.txt in the working
// directory and runs the tester hidden with " -k -T4 -f0 ". Counts the run in
// the tester-run counter and shows it in "QTY".
struct ExternalCheck {
    // False when the tester is missing or could not start (its message has
    // been shown); verdict then means nothing.
    bool ran = false;
    // CouldBePrime, IsComposite, PossiblePrime, Stopped, or NotDone when the
    // output held no recognised line.
    engine::Verdict verdict = engine::Verdict::NotDone;
};
ExternalCheck externalPrpCheck(shell::AppContext& ctx, const std::string& digits);

}  // namespace primality

namespace primality {

// Adds one to the count of external runs and shows it in "QTY".
void countExternalRun(shell::AppContext& ctx);

}  // namespace primality
