#pragma once
// Progress notes on standard error. Standard output carries only the result
// line, so everything a watching user reads while the test runs goes here.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace prp {

// printf-style line to standard error, flushed at once.
void note(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Seconds since a start point, on the monotonic clock.
double secondsSince(std::chrono::steady_clock::time_point start);

// While alive, writes a line from describe(elapsed seconds) every interval,
// for computations (one long GMP call) that cannot report by themselves.
class ProgressTicker {
public:
    ProgressTicker(std::chrono::seconds interval, std::function<std::string(double)> describe);
    ~ProgressTicker();
    ProgressTicker(const ProgressTicker&) = delete;
    ProgressTicker& operator=(const ProgressTicker&) = delete;

private:
    std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace prp
