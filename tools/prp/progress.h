#pragma once
// Progress notes on standard error. Standard output carries only the result
// line, so everything a watching user reads while the test runs goes here.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "arithmetic/long_run.h"

namespace prp {

// printf-style line to standard error, flushed at once.
void note(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Seconds since a start point, on the monotonic clock.
double secondsSince(std::chrono::steady_clock::time_point start);

// Progress of a loop of steps (squarings): a line every interval, the first
// one early, with the share done, the speed and the time left. Steps are
// counted from `first` so that a resumed run reports its own speed.
class StepProgress {
public:
    StepProgress(std::string label, uint64_t totalSteps, uint64_t firstStep);
    // Cheap when no line is due; call it every few steps.
    void update(uint64_t step);

private:
    std::string label_;
    uint64_t total_;
    uint64_t first_;
    std::chrono::steady_clock::time_point start_;
    double nextLine_;
};

// What the long tests report, as notes and progress lines on standard error.
class StandardErrorReport final : public arithmetic::RunReport {
public:
    void note(const std::string& text) override;
    void stepsBegin(const std::string& label, uint64_t totalSteps, uint64_t firstStep) override;
    void stepDone(uint64_t step) override;

private:
    std::optional<StepProgress> progress_;
};

}  // namespace prp
