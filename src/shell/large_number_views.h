#pragma once
// Conversions and views of numbers that may be huge, run on a worker thread
// (window events keep flowing) once the number is large enough to be felt;
// small ones are done at once, without the polling period of a thread run.
#include <functional>
#include <string>

#include "engine/big_integer.h"
#include "shell/app_context.h"

namespace shell {

// Runs first and second at the same time, on worker threads when large.
void runBoth(shell::AppContext& ctx, uint64_t size, const std::function<void()>& first,
             const std::function<void()>& second);

// x = value of a decimal text; a text GMP rejects gives 0.
void loadDecimal(shell::AppContext& ctx, engine::BigInt& x, const std::string& text);

// The whole decimal text of x (the decimal conversion worker for large x).
std::string decimalText(shell::AppContext& ctx, const engine::BigInt& x);

// Views of x that avoid converting all of it (see decimal_views.h).
std::string boundedView(shell::AppContext& ctx, const engine::BigInt& x);
uint64_t decimalLength(shell::AppContext& ctx, const engine::BigInt& x);

}  // namespace shell
