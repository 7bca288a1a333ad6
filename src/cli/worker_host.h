#pragma once
// The engine's time-limited worker runs from the command line. A step that
// may outlast its budget (a probable-prime test of a large part, ECM) runs
// in a forked child: at its limit, or on Ctrl+C, SIGTERM or SIGHUP, the
// child is killed and nothing of it stays behind. Between polls the progress
// shows the share of the time budget used.
#include <chrono>
#include <cstdint>

#include "cli/progress.h"
#include "engine/worker_run.h"

namespace cli {

// A budget of seconds from its creation.
class TimeBudget {
public:
    explicit TimeBudget(double seconds);
    [[nodiscard]] bool expired() const { return Clock::now() >= deadline_; }
    [[nodiscard]] int64_t remainingMs() const;
    [[nodiscard]] double fractionUsed() const;
    [[nodiscard]] std::chrono::steady_clock::time_point deadline() const { return deadline_; }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start_;
    Clock::time_point deadline_;
    double seconds_;
};

class CliWorkerHost : public engine::WorkerHost {
public:
    CliWorkerHost(Progress& progress, const TimeBudget& budget) : progress_(progress), budget_(budget) {}

    void processPendingEvents() override { progress_.update(budget_.fractionUsed()); }
    bool stopTicked() override;
    void showElapsed(engine::ElapsedDisplay, const std::string&) override {}
    void countRun() override {}
    int64_t nowMs() override;
    void keepAwake(bool) override {}

private:
    Progress& progress_;
    const TimeBudget& budget_;
};

}  // namespace cli
