#pragma once
// "START Generation": the checks, then one run in the mode the digit count
// chooses, until a candidate is accepted, STOP is ticked or the time limit
// passes; the report lines, the current number and last_number.txt.
#include "shell/app_context.h"

namespace generator {

void startGeneration(shell::AppContext& ctx);

}  // namespace generator
