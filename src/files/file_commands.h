#pragma once
#include "shell/dispatcher.h"

namespace files {

// Save NUMBER, Copy of the current number and the three Paste buttons.
void registerNumberFileCommands(shell::Dispatcher& dispatcher);

}  // namespace files
