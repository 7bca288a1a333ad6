#pragma once
// The hidden run of the probable-prime tester used by the checks of large
// numbers and by the generator.
#include <string>

#include "shell/app_context.h"

namespace primality {

// Deletes pfgw.ini and pfgw.out, writes digits to last_PRP.txt in the working
// directory, runs the tester hidden with " -k -T4 -f0 " and returns its
// verdict code: 1 probable prime, 3 composite, 4 no small factor, 7 stopped,
// 5 when the output held no recognised line, 0 when the tester is missing or
// could not start (its message has been shown). Counts the run in counters[4]
// and shows it in "QTY".
int externalPrpCheck(shell::AppContext& ctx, const std::string& digits);

}  // namespace primality

namespace primality {

// Adds one to the count of external runs and shows it in "QTY".
void countExternalRun(shell::AppContext& ctx);

}  // namespace primality
