#include "arithmetic/fft_passes.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace arithmetic::fft {

namespace plain {
extern const Passes kPasses;
}
namespace avx512 {
extern const Passes kPasses;
}

namespace {

std::atomic<bool> plainForced{false};

bool plainByEnvironment()
{
    const char* text = std::getenv("QUENDROLT_FFT_PLAIN");
    return text && *text && std::strcmp(text, "0") != 0;
}

bool processorHasAvx512()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("fma");
}

}  // namespace

const Passes& passes()
{
    static const bool avx512Usable = processorHasAvx512() && !plainByEnvironment();
    return avx512Usable && !plainForced.load(std::memory_order_relaxed) ? avx512::kPasses : plain::kPasses;
}

void usePlainPasses(bool plain) { plainForced.store(plain, std::memory_order_relaxed); }

}  // namespace arithmetic::fft
