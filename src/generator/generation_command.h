#pragma once
// "START Generation": the start checks, then one generation run with the
// window as its view and the worker runs and the tester as its work.
#include "shell/app_context.h"

namespace generator {

void startGeneration(shell::AppContext& ctx);

}  // namespace generator
