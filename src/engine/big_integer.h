#pragma once
// The engine's numbers are the arithmetic layer's GMP handle: one class,
// named in the engine as everywhere else in it.
#include "arithmetic/big_integer.h"

namespace engine {
using arithmetic::BigInt;
}  // namespace engine
