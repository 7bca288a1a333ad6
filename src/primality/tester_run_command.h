#pragma once
#include "shell/app_context.h"

namespace primality {

// " Run> PRP/Pfgw": the tester on the current number with the switches of
// the chosen test mode, its output shown in a console window.
void runTesterOnCurrentNumber(shell::AppContext& ctx);

}  // namespace primality
