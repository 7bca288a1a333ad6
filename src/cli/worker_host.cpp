#include "cli/worker_host.h"

#include <algorithm>

#include "cli/interrupt.h"

namespace cli {

TimeBudget::TimeBudget(double seconds)
    : start_(Clock::now()),
      deadline_(start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))),
      seconds_(seconds)
{
}

int64_t TimeBudget::remainingMs() const
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    return std::max<int64_t>(left, 0);
}

double TimeBudget::fractionUsed() const
{
    return std::chrono::duration<double>(Clock::now() - start_).count() / seconds_;
}

bool CliWorkerHost::stopTicked() { return interruptRequested(); }

int64_t CliWorkerHost::nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace cli
