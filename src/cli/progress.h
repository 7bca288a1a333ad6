#pragma once
// Progress on standard error: a bar with percent and time left when standard
// error is a terminal, otherwise a plain line now and then (every 10 s; the
// environment's QUENDROLT_PROGRESS_SECONDS sets another period, 0 for a line
// at every update, as the tests do), so that logs of batch jobs stay
// readable. Quiet prints nothing. Never on standard output.
#include <chrono>
#include <cstdint>
#include <string>

namespace cli {

// Where a prime search is: the counts of every rank together.
struct SearchCounts {
    uint64_t sieved = 0;        // odd candidates sieved
    uint64_t tested = 0;        // strong probable-prime tests finished
    double expectedTests = 0;   // mean tests of a search to its prime (prime density and depth)
};

class Progress {
public:
    Progress(std::string task, bool quiet);
    ~Progress();

    // fraction in 0..1 of the expected work; it may go back when an estimate
    // proves low.
    void update(double fraction);
    // A search's counts, its rate of tests and the time a prime is expected
    // in: the tests to a prime are about geometric with mean expectedTests,
    // so that mean is also what remains, whatever has been done.
    void search(const SearchCounts& counts);
    // The step under way, shown after the task: "factor (ECM)".
    void stage(const std::string& name);
    // A line of its own (the bar is redrawn after it).
    void note(const std::string& text);
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    void drawBar(double fraction, const std::string& tail);
    bool lineDue(Clock::time_point now) const;

    std::string task_;
    std::string label_;  // task_ and the stage
    bool quiet_;
    bool terminal_;
    bool barShown_ = false;
    Clock::time_point start_;
    Clock::time_point lastShown_;
};

}  // namespace cli
