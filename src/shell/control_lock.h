#pragma once
#include "shell/app_context.h"

namespace shell {

// Locked while a long command runs: disables the command controls, unticks
// STOP and enables it; unlocking enables them again and disables STOP. Not
// counted: one unlock frees everything.
void setControlLock(AppContext& ctx, bool locked);

}  // namespace shell
