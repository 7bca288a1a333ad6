#include "shell/scheduling.h"

#include <sys/resource.h>

namespace shell {

void raiseScheduling()
{
    // A modest raise keeps the window responsive under load; worker children
    // go back to normal priority so hours of computation never starve the
    // rest of the desktop.
    constexpr int kWindowNice = -5;
    (void)setpriority(PRIO_PROCESS, 0, kWindowNice);
}

}  // namespace shell
