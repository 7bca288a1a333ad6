#pragma once
#include "shell/dispatcher.h"

namespace analysis {

// "< Digit Statistics" and "Analyze".
void registerDigitCommands(shell::Dispatcher& dispatcher);

}  // namespace analysis
