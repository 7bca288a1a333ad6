#pragma once
// "Undo last CALC" and the " Auto Undo" box.
#include "calculator/operation_sequence.h"
#include "shell/app_context.h"

namespace calculator {

// Brings back the number from before the last operation (or MR) and writes
// the history of the last operation; the undo copy stays, so a second Undo
// brings back the same number again.
void undoLastCalculation(shell::AppContext& ctx, const CalculatorSession& session);

void autoUndoSwitched(shell::AppContext& ctx);

}  // namespace calculator
