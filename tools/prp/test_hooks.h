#pragma once
// Test-only hooks, read from the environment here and nowhere else, so
// that the tests of long runs depend on steps, never on the machine's
// speed. A hook at "[<loop>:]<k>" acts at step k of the loop'th long loop
// of the run (each base's Fermat test and the Lucas-Lehmer test is one
// loop; the first when no loop is given):
//   QUENDROLT_PRP_FAULT_AT_STEP=<k>     corrupt the residue once at step k
//                                       of every loop (the checks at work)
//   QUENDROLT_PRP_CHECKPOINT_STEPS=<s>  a checkpoint every s steps instead
//                                       of every -C seconds
//   QUENDROLT_PRP_STOP_AT=[<loop>:]<k>  a stop request, as SIGTERM makes
//   QUENDROLT_PRP_KILL_AT=[<loop>:]<k>  SIGKILL, as a crash or power cut
//   QUENDROLT_PRP_PAUSE_AT=[<loop>:]<k> "Paused at step <k>" on standard
//                                       error, then wait for a signal (at
//                                       most a minute)
//   QUENDROLT_PRP_TIGHT_MEMORY=<p>      the address space limited to p %
//                                       of the test's memory estimate (100:
//                                       the estimate; less: a shortfall)
#include <cstdint>
#include <optional>

#include "arithmetic/long_run.h"

namespace prp {

struct StepHook {
    unsigned loop = 1;
    uint64_t step = 0;
};

struct TestHooks {
    std::optional<uint64_t> faultAtStep;
    std::optional<uint64_t> checkpointSteps;
    std::optional<StepHook> stopAt, killAt, pauseAt;
    std::optional<uint64_t> tightMemoryPercent;

    static TestHooks fromEnvironment();
};

// Passes everything on to the run's report and acts on the step hooks.
class HookedReport final : public arithmetic::RunReport {
public:
    HookedReport(arithmetic::RunReport& inner, const TestHooks& hooks, arithmetic::StopRequest& stop)
        : inner_(inner), hooks_(hooks), stop_(stop)
    {
    }

    void note(const std::string& text) override { inner_.note(text); }
    void stepsBegin(const std::string& label, uint64_t totalSteps, uint64_t firstStep) override;
    void stepDone(uint64_t step) override;

private:
    bool at(const std::optional<StepHook>& hook, uint64_t step) const
    {
        return hook && hook->loop == loop_ && hook->step == step;
    }

    arithmetic::RunReport& inner_;
    const TestHooks& hooks_;
    arithmetic::StopRequest& stop_;
    unsigned loop_ = 0;
};

}  // namespace prp
