#include "calculator/off_window.h"

#include <thread>

#include "calculator/decimal_views.h"
#include "engine/decimal_text.h"
#include "engine/worker_run.h"

namespace calculator {

namespace {

constexpr uint64_t kThreadFromBits = engine::kInPlaceBelowDigits * 10 / 3;

uint64_t bitsOf(const engine::BigInt& x) { return mpz_sizeinbase(x.get(), 2); }

}  // namespace

void runSized(shell::AppContext& ctx, uint64_t size, const std::function<void()>& work)
{
    engine::runSizedWork(ctx.worker, size, work);
}

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
    runSized(ctx, text.size(), [&] {
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
    runSized(ctx, bitsOf(x) * 3 / 10, [&] { view = headDotsTail(x); });
    return view;
}

uint64_t decimalLength(shell::AppContext& ctx, const engine::BigInt& x)
{
    uint64_t length = 0;
    runSized(ctx, bitsOf(x) * 3 / 10, [&] { length = calculator::decimalLength(x); });
    return length;
}

}  // namespace calculator
