#pragma once
// The first check: trial division of n by the primes below 13,012,261, done
// as three gcds with the divisor products.
#include "engine/divisor_products.h"

namespace engine {

// Returns the level 1..3 of the first product that shares a factor with n
// other than n itself, or 0 when n passes.
[[nodiscard]] int firstCheck(const BigInt& n, const DivisorProducts& products);

}  // namespace engine
