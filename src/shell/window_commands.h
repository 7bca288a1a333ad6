#pragma once
#include "shell/dispatcher.h"

namespace shell {

// EXIT, the results-list commands, the field copy and clear buttons, the
// operand shortcuts, SET, View, the digit-view list and the web link.
void registerWindowCommands(Dispatcher& dispatcher);

// Shared with "Copy" of the current number: the View refusals. Returns true
// when the current number may be shown (and copied).
[[nodiscard]] bool currentNumberViewable(AppContext& ctx);

inline constexpr const char* kWebsiteAddress = "https://quendrolt.org";

}  // namespace shell
