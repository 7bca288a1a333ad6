#pragma once
// The settings of a generation as the user left them in the window, read
// afresh at every start, and the checks and messages that refuse a start.
#include <optional>
#include <string>

#include "engine/generation_rules.h"
#include "generator/generation_run.h"
#include "shell/app_context.h"

namespace generator {

// Checks 1 to 5 in their order (digit sets, counter fields reset, size); shows
// the message of the first that fails and returns nothing.
[[nodiscard]] std::optional<GenerationSettings> readCheckedSettings(shell::AppContext& ctx);

// The message of an iconic run refused once it holds the lock (check 7).
void showIconicRefusal(shell::AppContext& ctx, engine::IconicRefusal refusal);

}  // namespace generator
