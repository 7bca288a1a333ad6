#pragma once
#include "shell/app_context.h"

namespace primality {

// "Fact": trial-division factoring of a small current number, on the window thread.
void factorCurrentNumber(shell::AppContext& ctx);

}  // namespace primality
