#pragma once
// What a long test takes from its caller: threads for the transforms, where
// its checkpoints go, where it reports, and the test-only fault hook.
#include <cstdint>
#include <optional>
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

class ProofStore;  // powering_proof.h

// Opens the store of the proof of the Fermat test of n to that base.
using ProofStoreOpener = std::function<std::unique_ptr<ProofStore>(mpz_srcptr n, unsigned long base)>;

struct LongRunSettings {
    unsigned threads = 1;                  // for the transforms; 0: one per core
    CheckpointOpener checkpoints;          // empty: no checkpoints
    RunReport* report = nullptr;           // null: silent
    std::optional<uint64_t> faultAtStep;   // test-only, see fault_injection.h
    unsigned proofPower = 0;               // the Fermat test's proof (powering_proof.h); 0: none
    ProofStoreOpener proofStore;           // where its residues and the proof go

    RunReport& reportTo() const;
    std::unique_ptr<CheckpointStore> openCheckpoints(const std::string& numberId, const std::string& test) const;
};

}  // namespace arithmetic
