#include "cli/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "cli/quoted_text.h"

namespace cli {

namespace {

constexpr int kBarWidth = 30;
// A terminal bar is redrawn at most ten times a second, a plain line every ten seconds.
constexpr auto kBarPeriod = std::chrono::milliseconds(100);
constexpr double kLineSeconds = 10;

std::chrono::duration<double> linePeriod()
{
    static const double seconds = [] {
        const char* text = std::getenv("QUENDROLT_PROGRESS_SECONDS");
        char* end = nullptr;
        const double value = text ? std::strtod(text, &end) : kLineSeconds;
        return text && end != text && *end == '\0' && value >= 0 && std::isfinite(value) ? value : kLineSeconds;
    }();
    return std::chrono::duration<double>(seconds);
}

std::string duration(double seconds)
{
    char text[32];
    if (seconds < 120)
        std::snprintf(text, sizeof text, "%.0f s", seconds);
    else if (seconds < 7200)
        std::snprintf(text, sizeof text, "%.0f min", seconds / 60);
    else if (seconds < 172800)
        std::snprintf(text, sizeof text, "%.1f h", seconds / 3600);
    else
        std::snprintf(text, sizeof text, "%.1f days", seconds / 86400);
    return text;
}

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
            const double seconds = std::chrono::duration<double>(now - start_).count();
            drawBar(fraction, fraction > 0.01 ? duration(seconds * (1 - fraction) / fraction) + " left" : "");
            lastShown_ = now;
        }
        return;
    }
    if (lineDue(now)) {
        double seconds = std::chrono::duration<double>(now - start_).count();
        std::fprintf(stderr, "%s: %.0f%% after %.0f s\n", label_.c_str(), 100 * fraction, seconds);
        lastShown_ = now;
    }
}

bool Progress::lineDue(Clock::time_point now) const { return now - lastShown_ >= linePeriod(); }

void Progress::search(const SearchCounts& counts)
{
    if (quiet_)
        return;
    const Clock::time_point now = Clock::now();
    if (terminal_ ? now - lastShown_ < kBarPeriod && barShown_ : !lineDue(now))
        return;
    lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::string text = withThousands(static_cast<long long>(counts.sieved)) + " sieved, " + withThousands(static_cast<long long>(counts.tested)) + " tested";
    if (counts.tested > 0 && seconds > 0) {
        const double rate = static_cast<double>(counts.tested) / seconds;
        char figures[96];
        std::snprintf(figures, sizeof figures, ", %.3g tests/s, a prime expected in about ", rate);
        text += figures + duration(counts.expectedTests / rate);
    }
    if (terminal_) {
        const double share = counts.expectedTests > 0 ? static_cast<double>(counts.tested) / counts.expectedTests : 0;
        drawBar(1 - std::exp(-share), text);
        return;
    }
    std::fprintf(stderr, "%s: %s after %s\n", label_.c_str(), text.c_str(), duration(seconds).c_str());
}

void Progress::drawBar(double fraction, const std::string& tail)
{
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(stderr, "\r%s [%s] %3.0f%%  %s\033[K", label_.c_str(), bar.c_str(), 100 * fraction, tail.c_str());
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
