#pragma once
// Test-only fault hook. QUENDROLT_PRP_FAULT_AT_STEP=<k> in the environment
// makes the powering loops corrupt their working residue once, at step k, as
// a hardware error would, so that tests can watch the error checks catch it
// and the run still end with the right verdict. Read here and nowhere else.
#include <cstdint>

#include "modular_arithmetic.h"

namespace prp {

class FaultInjection {
public:
    static FaultInjection fromEnvironment();

    // Corrupts x when step is the chosen one, the first time it is reached
    // only: the redo after a rollback must run clean.
    void atStep(uint64_t step, ModularArithmetic& arithmetic, ModularArithmetic::Register x)
    {
        if (armed_ && step == step_) {
            armed_ = false;
            arithmetic.corruptForTest(x);
        }
    }

private:
    bool armed_ = false;
    uint64_t step_ = 0;
};

}  // namespace prp
