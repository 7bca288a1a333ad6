#pragma once
// The memory row ("M", "MR", "MC", "M+", "M-", "C", "M<>D"), the "M" and
// ">>D" buttons of the "Your Number" row and the operand/memory options.
#include "shell/app_context.h"

namespace calculator {

void storeInMemory(shell::AppContext& ctx);
void recallMemory(shell::AppContext& ctx);
void clearMemory(shell::AppContext& ctx);
void addToMemory(shell::AppContext& ctx);
void subtractFromMemory(shell::AppContext& ctx);
void clearCalculator(shell::AppContext& ctx);
void swapMemoryAndNumber(shell::AppContext& ctx);
void yourNumberToMemory(shell::AppContext& ctx);
void yourNumberToDisplay(shell::AppContext& ctx);

}  // namespace calculator
