#pragma once
#include "shell/app_context.h"

namespace files {

// "Save NUMBER": the current number into a file the user names, digits only.
void saveNumber(shell::AppContext& ctx);

// "Copy": the current number onto the clipboard, within the View limit.
void copyCurrentNumber(shell::AppContext& ctx);

}  // namespace files
