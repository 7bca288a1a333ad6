#pragma once
namespace shell {
// Raises the window process's scheduling priority where allowed; failures are
// ignored. No thread or process is pinned to one processor.
void raiseScheduling();
}  // namespace shell
