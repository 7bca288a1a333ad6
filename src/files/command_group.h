#pragma once
#include "shell/dispatcher.h"

namespace files {

// Registers the digit analysis, parameters file, export and help commands in
// one call, so the shell's registry names this group once.
void registerAnalysisFileAndHelpCommands(shell::Dispatcher& dispatcher);

}  // namespace files
