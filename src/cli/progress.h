#pragma once
// Progress on standard error: a bar with percent and time left when standard
// error is a terminal, otherwise a plain line now and then, so that logs of
// batch jobs stay readable. Quiet prints nothing.
#include <chrono>
#include <string>

namespace cli {

class Progress {
public:
    Progress(std::string task, bool quiet);
    ~Progress();

    // fraction in 0..1 of the expected work; it may go back when an estimate
    // proves low.
    void update(double fraction);
    // The step under way, shown after the task: "factor (ECM)".
    void stage(const std::string& name);
    // A line of its own (the bar is redrawn after it).
    void note(const std::string& text);
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    void drawBar(double fraction);

    std::string task_;
    std::string label_;  // task_ and the stage
    bool quiet_;
    bool terminal_;
    bool barShown_ = false;
    Clock::time_point start_;
    Clock::time_point lastShown_;
};

}  // namespace cli
