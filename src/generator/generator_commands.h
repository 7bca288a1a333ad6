#pragma once
#include "shell/dispatcher.h"

namespace generator {

// "START Generation" and the two mode boxes " Iconic with digit" and " Mersenne?".
void registerGeneratorCommands(shell::Dispatcher& dispatcher);

}  // namespace generator
