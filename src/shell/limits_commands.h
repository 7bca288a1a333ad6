#pragma once
#include "shell/dispatcher.h"

namespace shell {
// The Limits list and "Apply".
void registerLimitsCommands(Dispatcher& dispatcher);
}  // namespace shell
