#pragma once
// Test-only fault hook. With LongRunSettings::faultAtStep set, the powering
// loops corrupt their working residue once, at that step, as a hardware
// error would, so that tests can watch the error checks catch it and the
// run still end with the right verdict.
#include <cstdint>
#include <optional>

#include "arithmetic/modular_arithmetic.h"

namespace arithmetic {

class FaultInjection {
public:
    explicit FaultInjection(std::optional<uint64_t> step) : armed_(step.has_value()), step_(step.value_or(0)) {}

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
    bool armed_;
    uint64_t step_;
};

}  // namespace arithmetic
