// The transform arrays are allocated checked: one that cannot be had is an
// exception naming its size, never a null array written through.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "arithmetic/fft_memory.h"
#include "arithmetic/fft_plans.h"

namespace {

using namespace arithmetic;

bool underAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

TEST(FftMemory, an_array_that_cannot_be_had_throws_and_names_its_size)
{
    if (underAddressSanitizer())
        GTEST_SKIP() << "the sanitizer's allocator ends the process on a request this large";
    try {
        fft::RealArray impossible(size_t{1} << 58);  // 2 EiB
        FAIL() << "allocated 2 EiB";
    } catch (const std::bad_alloc& failure) {
        EXPECT_EQ(std::string(failure.what()), "cannot allocate 2199023255552 MiB for the transform arrays");
    }
}

}  // namespace
