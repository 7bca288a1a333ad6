#pragma once
// The first check as commands and the generator use it: trial division by the
// divisor products on a worker thread, counting the hits of each product.
#include "engine/big_integer.h"
#include "shell/app_context.h"

namespace primality {

// Returns 0 when n passes, else the level 1..3 of the product that shares a
// factor with n; raises the hits of that level in state.counters. No time limit and no STOP.
[[nodiscard]] int runFirstCheck(shell::AppContext& ctx, const engine::BigInt& n);

// Shows the three hit counters in "Div1", "Div2", "Div3".
void showDivisorHits(shell::AppContext& ctx);

}  // namespace primality
