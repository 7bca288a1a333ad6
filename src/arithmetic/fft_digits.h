#pragma once
// Bit fields of GMP limb arrays: reading a number's digits out of an mpz and
// writing digits back, for the FFT arithmetics' set() and get().
#include <cstdint>

#include <gmp.h>

namespace arithmetic::fft {

static_assert(GMP_NUMB_BITS == 64, "the FFT arithmetic assumes 64-bit limbs without nails");

// The `width` (<= 32) bits of the number at bit `position`; limbs past
// `count` read as zero.
inline uint64_t readBits(const mp_limb_t* limbs, size_t count, uint64_t position, int width)
{
    size_t index = position / 64;
    unsigned offset = position % 64;
    if (index >= count)
        return 0;
    uint64_t value = limbs[index] >> offset;
    if (offset + width > 64 && index + 1 < count)
        value |= limbs[index + 1] << (64 - offset);
    return value & ((uint64_t(1) << width) - 1);
}

// Adds `value` (< 2^32) at bit `position` into the limbs, where those bits
// are still zero (an OR); the limb array must reach the value's top bit.
inline void orBits(mp_limb_t* limbs, uint64_t position, uint64_t value)
{
    size_t index = position / 64;
    unsigned offset = position % 64;
    limbs[index] |= value << offset;
    if (offset != 0 && (value >> (64 - offset)) != 0)
        limbs[index + 1] |= value >> (64 - offset);
}

}  // namespace arithmetic::fft
