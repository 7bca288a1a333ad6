#pragma once
#include "shell/dispatcher.h"

namespace primality {

// "< Check", "Is P?", the two Verify commands, "Load NUMBER", "Fact" and " Run> PRP/Pfgw".
void registerPrimalityCommands(shell::Dispatcher& dispatcher);

}  // namespace primality
