#include "test_hooks.h"

#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "progress.h"

namespace prp {

namespace {

std::optional<uint64_t> number(std::string_view text)
{
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<uint64_t> numberVariable(const char* name)
{
    const char* text = std::getenv(name);
    return text ? number(text) : std::nullopt;
}

std::optional<StepHook> stepVariable(const char* name)
{
    const char* text = std::getenv(name);
    if (!text)
        return std::nullopt;
    std::string_view value = text;
    StepHook hook;
    if (size_t colon = value.find(':'); colon != std::string_view::npos) {
        std::optional<uint64_t> loop = number(value.substr(0, colon));
        if (!loop || *loop == 0)
            return std::nullopt;
        hook.loop = static_cast<unsigned>(*loop);
        value = value.substr(colon + 1);
    }
    std::optional<uint64_t> step = number(value);
    if (!step)
        return std::nullopt;
    hook.step = *step;
    return hook;
}

}  // namespace

TestHooks TestHooks::fromEnvironment()
{
    TestHooks hooks;
    hooks.faultAtStep = numberVariable("QUENDROLT_PRP_FAULT_AT_STEP");
    hooks.checkpointSteps = numberVariable("QUENDROLT_PRP_CHECKPOINT_STEPS");
    if (hooks.checkpointSteps == 0u)
        hooks.checkpointSteps.reset();
    hooks.stopAt = stepVariable("QUENDROLT_PRP_STOP_AT");
    hooks.killAt = stepVariable("QUENDROLT_PRP_KILL_AT");
    hooks.pauseAt = stepVariable("QUENDROLT_PRP_PAUSE_AT");
    hooks.tightMemoryPercent = numberVariable("QUENDROLT_PRP_TIGHT_MEMORY");
    return hooks;
}

void HookedReport::stepsBegin(const std::string& label, uint64_t totalSteps, uint64_t firstStep)
{
    ++loop_;
    inner_.stepsBegin(label, totalSteps, firstStep);
}

void HookedReport::stepDone(uint64_t step)
{
    inner_.stepDone(step);
    if (at(hooks_.killAt, step))
        ::kill(::getpid(), SIGKILL);
    if (at(hooks_.stopAt, step))
        stop_.requested = true;
    if (at(hooks_.pauseAt, step)) {
        prp::note("Paused at step %llu", static_cast<unsigned long long>(step));
        for (int waited = 0; waited < 60'000 && !stop_.requested; ++waited)
            ::usleep(1000);
    }
}

}  // namespace prp
