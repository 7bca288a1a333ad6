#pragma once
// The primality check of the current number: the probable-prime test up to
// "Large numbers start" digits, above it the first check and then the
// hidden tester run; then the verdict and the completion lines.
#include <cstdint>

#include "engine/big_integer.h"
#include "shell/app_context.h"

namespace primality {

// Only LoadOnly changes the behaviour: it skips the test and the verdict line.
enum class CheckMode { Check, Verify, IsPrime, LoadOnly };

// The whole check of the current number as the commands start it: nothing
// happens for an empty number or "0"; otherwise the control lock is taken,
// the "Analyzing" line written, the number tested and the lines written.
void checkCurrentNumber(shell::AppContext& ctx, CheckMode mode);

// The test and the closing lines, for callers that already converted the
// current number into n, hold the control lock and recorded startMs.
void testAndReport(shell::AppContext& ctx, CheckMode mode, const engine::BigInt& n, int64_t startMs);

// "TOT", "Div1", "Div2", "Div3" and "QTY" show "0"; the counters keep counting.
void zeroCounterFields(shell::AppContext& ctx);

}  // namespace primality
