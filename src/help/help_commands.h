#pragma once
#include "shell/dispatcher.h"

namespace help {

// "User Manual" (106), "Help" (100) and "? About" (35).
void registerHelpCommands(shell::Dispatcher& dispatcher);

inline constexpr const char* kUserManualFile = "user_manual.txt";
inline constexpr const char* kCalculatorHelpFile = "help_calculator.txt";

}  // namespace help
