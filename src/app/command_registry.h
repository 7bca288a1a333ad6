#pragma once
// Every command of the window, registered under its control id.
#include "shell/dispatcher.h"

namespace app {

void registerAllCommands(shell::Dispatcher& dispatcher);

}  // namespace app
