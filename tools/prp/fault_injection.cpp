#include "fault_injection.h"

#include <cstdlib>

namespace prp {

FaultInjection FaultInjection::fromEnvironment()
{
    FaultInjection fault;
    const char* text = std::getenv("QUENDROLT_PRP_FAULT_AT_STEP");
    if (text && *text) {
        char* end = nullptr;
        fault.step_ = std::strtoull(text, &end, 10);
        fault.armed_ = *end == '\0';
    }
    return fault;
}

}  // namespace prp
