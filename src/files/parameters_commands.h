#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "shell/dispatcher.h"

namespace files {

// SAVE (24) and LOAD (25) of the parameters file.
void registerParametersCommands(shell::Dispatcher& dispatcher);

// A Limits text from a parameters file is usable when it is a positive whole
// number small enough that minutes in milliseconds cannot overflow.
[[nodiscard]] std::optional<int64_t> usableLimitValue(const std::string& text);

}  // namespace files
