#pragma once
// The operand row shows either the operand edit with its five buttons or the
// read-only view of M, following the " Operand" / " Memory [ M ]" choice.
#include "shell/app_context.h"

namespace shell {

// Run after every change of M and on either option.
void refreshOperandDisplay(shell::AppContext& ctx);

}  // namespace shell
