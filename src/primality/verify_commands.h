#pragma once
#include "shell/app_context.h"

namespace primality {

// "< Check": the digits typed in "Your Number:" become the current number and are checked.
void checkTypedNumber(shell::AppContext& ctx);
// "Is P?": the current number is checked.
void checkCurrentNumberCommand(shell::AppContext& ctx);
// "Verify number ClipBoard": the digits on the clipboard become the current number and are checked.
void verifyClipboardNumber(shell::AppContext& ctx);
// "Verify number from File" and "Load NUMBER": a number file becomes the
// current number; verify checks it, load only shows it.
void verifyNumberFile(shell::AppContext& ctx);
void loadNumberFile(shell::AppContext& ctx);

}  // namespace primality
