#pragma once
#include "shell/dispatcher.h"

namespace calculator {

// The 21 operation buttons, Undo, Auto Undo, the memory rows and the
// operand/memory options.
void registerCalculatorCommands(shell::Dispatcher& dispatcher);

}  // namespace calculator
