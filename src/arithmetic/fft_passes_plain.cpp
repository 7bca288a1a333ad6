// The passes for any x86-64 processor (SSE2).
#define PASSES_NAMESPACE plain
#define PASSES_NAME "plain"
#include "arithmetic/fft_passes_impl.h"
