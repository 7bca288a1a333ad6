// The passes for processors with AVX-512 (compiled with -mavx512f and
// friends, see CMakeLists.txt; chosen at run time).
#define PASSES_NAMESPACE avx512
#define PASSES_NAME "AVX-512"
#include "arithmetic/fft_passes_impl.h"
