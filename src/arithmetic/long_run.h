#pragma once
// What a long test takes from its caller: threads for the transforms, where
// its checkpoints go, where it reports, how it is asked to stop, when to
// give up, and the test-only fault hook.
#include <atomic>
#include <cstdint>
#include <exception>
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

// A request from outside, typically a signal handler, to end a long run
// early with its work saved. Lock-free atomics only, so that a handler may
// set and read them. While a loop runs, `polled` is set: it looks at
// `requested` after every step, saves a checkpoint and throws RunStopped.
// Outside the loops nobody looks, and a requester should end the process
// itself.
struct StopRequest {
    std::atomic<bool> requested{false};
    std::atomic<bool> polled{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

// Thrown by a long run that stopped on request.
class RunStopped : public std::exception {
public:
    RunStopped(uint64_t step, uint64_t totalSteps, bool saved) : step_(step), total_(totalSteps), saved_(saved) {}
    const char* what() const noexcept override { return "the test was stopped on request"; }
    uint64_t step() const { return step_; }
    uint64_t totalSteps() const { return total_; }
    // Whether a checkpoint holds the work up to step().
    bool saved() const { return saved_; }

private:
    uint64_t step_, total_;
    bool saved_;
};

// Thrown by a long run whose caller set its abandon flag: the result is no
// longer wanted (a prime search found its prime on another thread).
class RunAbandoned : public std::runtime_error {
public:
    RunAbandoned() : std::runtime_error("the run was abandoned") {}
};

class ProofStore;  // powering_proof.h

// Opens the store of the proof of the Fermat test of n to that base.
using ProofStoreOpener = std::function<std::unique_ptr<ProofStore>(mpz_srcptr n, unsigned long base)>;

struct LongRunSettings {
    unsigned threads = 1;                  // for the transforms; 0: one per core
    CheckpointOpener checkpoints;          // empty: no checkpoints
    RunReport* report = nullptr;           // null: silent
    StopRequest* stop = nullptr;           // null: runs to its end
    // When set, the loops look at it every step and throw RunAbandoned once
    // it is true.
    const std::atomic<bool>* abandon = nullptr;
    std::optional<uint64_t> faultAtStep;   // test-only, see fault_injection.h
    unsigned proofPower = 0;               // the Fermat test's proof (powering_proof.h); 0: none
    ProofStoreOpener proofStore;           // where its residues and the proof go

    RunReport& reportTo() const;
    std::unique_ptr<CheckpointStore> openCheckpoints(const std::string& numberId, const std::string& test) const;
};

// What a long run needs besides its arithmetic and residues: a margin for
// the process's small allocations. Part of the tests' memory estimates
// (fermatTestBytes, lucasLehmerBytes).
constexpr size_t kLongRunMarginBytes = 16u << 20;

// Marks a loop as looking at the stop request for as long as it lives.
class StopPolling {
public:
    explicit StopPolling(StopRequest* stop) : stop_(stop)
    {
        if (stop_)
            stop_->polled = true;
    }
    ~StopPolling()
    {
        if (stop_)
            stop_->polled = false;
    }
    StopPolling(const StopPolling&) = delete;
    StopPolling& operator=(const StopPolling&) = delete;

    bool requested() const { return stop_ && stop_->requested.load(std::memory_order_relaxed); }

private:
    StopRequest* stop_;
};

}  // namespace arithmetic
