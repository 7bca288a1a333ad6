#include "progress.h"

#include <cstdarg>
#include <cstdio>

namespace prp {

void note(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

ProgressTicker::ProgressTicker(std::chrono::seconds interval, std::function<std::string(double)> describe)
{
    auto start = std::chrono::steady_clock::now();
    thread_ = std::thread([this, interval, start, describe = std::move(describe)] {
        std::unique_lock<std::mutex> hold(lock_);
        while (!wake_.wait_for(hold, interval, [this] { return stopping_; }))
            note("%s", describe(secondsSince(start)).c_str());
    });
}

ProgressTicker::~ProgressTicker()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

}  // namespace prp
