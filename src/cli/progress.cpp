#include "cli/progress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

constexpr int kBarWidth = 30;
// A terminal bar is redrawn at most ten times a second, a plain line every ten seconds.
constexpr auto kBarPeriod = std::chrono::milliseconds(100);
constexpr auto kLinePeriod = std::chrono::seconds(10);

}  // namespace

Progress::Progress(std::string task, bool quiet)
    : task_(std::move(task)), label_(task_), quiet_(quiet), terminal_(isatty(STDERR_FILENO) == 1), start_(Clock::now()),
      lastShown_(start_)
{
}

Progress::~Progress() { finish(); }

void Progress::update(double fraction)
{
    if (quiet_)
        return;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const Clock::time_point now = Clock::now();
    if (terminal_) {
        if (now - lastShown_ >= kBarPeriod || !barShown_) {
            drawBar(fraction);
            lastShown_ = now;
        }
        return;
    }
    if (now - lastShown_ >= kLinePeriod) {
        double seconds = std::chrono::duration<double>(now - start_).count();
        std::fprintf(stderr, "%s: %.0f%% after %.0f s\n", label_.c_str(), 100 * fraction, seconds);
        lastShown_ = now;
    }
}

void Progress::drawBar(double fraction)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    char left[32] = "";
    if (fraction > 0.01)
        std::snprintf(left, sizeof left, "%.0f s left", seconds * (1 - fraction) / fraction);
    std::fprintf(stderr, "\r%s [%s] %3.0f%%  %-14s", label_.c_str(), bar.c_str(), 100 * fraction, left);
    std::fflush(stderr);
    barShown_ = true;
}

// On a terminal the bar carries the stage; a log gets a line as it begins.
void Progress::stage(const std::string& name)
{
    label_ = task_ + " (" + name + ")";
    if (!quiet_ && !terminal_)
        std::fprintf(stderr, "%s: %s\n", task_.c_str(), name.c_str());
}

void Progress::note(const std::string& text)
{
    if (quiet_)
        return;
    if (barShown_) {
        std::fputs("\r\033[K", stderr);
        barShown_ = false;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

void Progress::finish()
{
    if (quiet_ || task_.empty())
        return;
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    if (barShown_)
        std::fputs("\r\033[K", stderr);
    std::fprintf(stderr, "%s: done in %.2f s\n", task_.c_str(), seconds);
    task_.clear();
}

}  // namespace cli
