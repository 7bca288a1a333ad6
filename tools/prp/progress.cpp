#include "progress.h"

#include <cstdarg>
#include <algorithm>
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

namespace {

constexpr double kFirstLineAfter = 2.0;
constexpr double kLineInterval = 10.0;

std::string durationText(double seconds)
{
    auto whole = static_cast<long long>(seconds + 0.5);
    char text[48];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lldh%02lldm", whole / 3600, whole / 60 % 60);
    else if (whole >= 60)
        std::snprintf(text, sizeof text, "%lldm%02llds", whole / 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%llds", whole);
    return text;
}

}  // namespace

StepProgress::StepProgress(std::string label, uint64_t totalSteps, uint64_t firstStep)
    : label_(std::move(label)),
      total_(totalSteps),
      first_(firstStep),
      start_(std::chrono::steady_clock::now()),
      nextLine_(kFirstLineAfter)
{
}

void StepProgress::update(uint64_t step)
{
    double elapsed = secondsSince(start_);
    if (elapsed < nextLine_ || total_ == 0)
        return;
    nextLine_ = elapsed + kLineInterval;
    double rate = step > first_ ? static_cast<double>(step - first_) / elapsed : 0;
    double left = rate > 0 ? static_cast<double>(total_ - std::min(step, total_)) / rate : 0;
    note("%s: %.1f%% done, %.0f steps/s, %s left", label_.c_str(), 100.0 * static_cast<double>(step) / total_, rate,
         durationText(left).c_str());
}

void StandardErrorReport::note(const std::string& text) { prp::note("%s", text.c_str()); }

void StandardErrorReport::stepsBegin(const std::string& label, uint64_t totalSteps, uint64_t firstStep)
{
    progress_.emplace(label, totalSteps, firstStep);
}

void StandardErrorReport::stepDone(uint64_t step)
{
    if (progress_)
        progress_->update(step);
}

}  // namespace prp
