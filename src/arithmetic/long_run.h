#pragma once
// What a long test takes from its caller: threads for the transforms, where
// its checkpoints go, where it reports, when to give up, and the test-only
// fault hook.
#include <atomic>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "arithmetic/checkpoint.h"

namespace arithmetic {

// Where a long run tells what it does: notes (a checkpoint resumed or
// ignored, an error caught and redone) and the progress of its steps. The
// default tells nothing.
class RunReport {
public:
    virtual ~RunReport() = default;
    virtual void note(const std::string& text) { (void)text; }
    // A loop of totalSteps steps (squarings) starts at firstStep (above 0
    // when resumed or redone); stepDone follows every step.
    virtual void stepsBegin(const std::string& label, uint64_t totalSteps, uint64_t firstStep)
    {
        (void)label, (void)totalSteps, (void)firstStep;
    }
    virtual void stepDone(uint64_t step) { (void)step; }
};

// Thrown by a long run whose caller set its abandon flag: the result is no
// longer wanted (a prime search found its prime on another thread).
class RunAbandoned : public std::runtime_error {
public:
    RunAbandoned() : std::runtime_error("the run was abandoned") {}
};

struct LongRunSettings {
    unsigned threads = 1;                  // for the transforms; 0: one per core
    CheckpointOpener checkpoints;          // empty: no checkpoints
    RunReport* report = nullptr;           // null: silent
    // When set, the loops look at it every step and throw RunAbandoned once
    // it is true.
    const std::atomic<bool>* abandon = nullptr;
    std::optional<uint64_t> faultAtStep;   // test-only, see fault_injection.h

    RunReport& reportTo() const;
    std::unique_ptr<CheckpointStore> openCheckpoints(const std::string& numberId, const std::string& test) const;
};

}  // namespace arithmetic
