#pragma once
// The one command behind the 21 operation buttons.
#include <string>

#include "calculator/operation_table.h"
#include "shell/app_context.h"

namespace calculator {

// What "Undo last CALC" repeats of the last operation.
struct CalculatorSession {
    const Operation* lastOperation = nullptr;  // none before the first one
    std::string lastValueView;
};

void runOperation(shell::AppContext& ctx, CalculatorSession& session, const Operation& op);

}  // namespace calculator
