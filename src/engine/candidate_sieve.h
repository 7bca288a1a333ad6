#pragma once
// Sieve of an interval of odd candidates above or below a large number by
// every odd prime up to a chosen depth, so that only the survivors reach a
// probable-prime test.
#include <cstdint>
#include <vector>

#include "engine/big_integer.h"

namespace engine {

enum class SearchDirection { Up, Down };

// Largest sieve depth: two sieving primes below it multiply to less than
// 2^64, which lets one pass over the limbs of the number serve both.
constexpr uint64_t kMaxSieveDepth = 0xFFFFFFFFu;

// Offsets i (ascending, i < count) of the candidates base + 2i (Up) or
// base - 2i (Down) that no odd prime up to depth divides. base must be odd and
// every candidate larger than depth, so that no sieving prime strikes itself.
// The residues are computed on `threads` threads.
std::vector<uint32_t> sieveCandidates(const BigInt& base, SearchDirection direction, uint32_t count,
                                      uint64_t depth, unsigned threads);

}  // namespace engine
