#include "shell/large_number_views.h"

#include <thread>

#include "engine/decimal_views.h"
#include "engine/decimal_text.h"
#include "engine/worker_run.h"

namespace shell {

namespace {

constexpr uint64_t kThreadFromBits = engine::kInPlaceBelowDigits * 10 / 3;

uint64_t bitsOf(const engine::BigInt& x) { return mpz_sizeinbase(x.get(), 2); }

}  // namespace

void runBoth(shell::AppContext& ctx, uint64_t size, const std::function<void()>& first,
             const std::function<void()>& second)
{
    if (size < engine::kInPlaceBelowDigits) {
        first();
        second();
        return;
    }
    engine::runThreaded(ctx.worker, [&] {
        std::thread other(second);
        first();
        other.join();
    });
}

void loadDecimal(shell::AppContext& ctx, engine::BigInt& x, const std::string& text)
{
    engine::runSizedWork(ctx.worker, text.size(), [&] {
        if (!engine::setFromDecimal(x, text))
            x.set(0UL);
    });
}

std::string decimalText(shell::AppContext& ctx, const engine::BigInt& x)
{
    if (bitsOf(x) < kThreadFromBits)
        return engine::toDecimal(x);
    return engine::runDecimalConversion(ctx.worker, x);
}

std::string boundedView(shell::AppContext& ctx, const engine::BigInt& x)
{
    std::string view;
    engine::runSizedWork(ctx.worker, bitsOf(x) * 3 / 10, [&] { view = engine::headDotsTail(x); });
    return view;
}

uint64_t decimalLength(shell::AppContext& ctx, const engine::BigInt& x)
{
    uint64_t length = 0;
    engine::runSizedWork(ctx.worker, bitsOf(x) * 3 / 10, [&] { length = engine::decimalLength(x); });
    return length;
}

}  // namespace shell
