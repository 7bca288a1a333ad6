#include "calculator/calculator_worker.h"

#include "engine/decimal_text.h"

namespace calculator {

namespace {

// Prime searches get their own bound two seconds after the general limit.
constexpr int64_t kPrimeSearchExtraMs = 2000;

}  // namespace

engine::Outcome runCalculatorWorker(shell::AppContext& ctx, WorkerStep step, const WorkerInputs& in, WorkerResult& result)
{
    const engine::RunLimits limits{ctx.state.limits.internalTimeLimitMs(), engine::kNoLimit};
    return engine::runForked(
        ctx.worker, engine::WorkerKind::CalculatorOperation, limits,
        [&](engine::ResultWriter& out) {
            engine::BigInt a;
            if (!engine::setFromDecimal(a, in.number))
                a.set(0UL);  // a text GMP rejects counts as 0, as everywhere in the calculator
            WorkerResult computed;
            step({a.get(), in.b.get(), in.memory.get(), in.e}, computed);
            return out.writeBigInt(computed.value) && out.writeBigInt(computed.remainder) &&
                   out.writeInt(computed.exact ? 1 : 0);
        },
        [&](engine::ResultReader& reader) {
            int64_t exact = 0;
            bool read = reader.readBigInt(result.value) && reader.readBigInt(result.remainder) && reader.readInt(exact);
            result.exact = exact != 0;
            return read;
        },
        &result.failure);
}

engine::Outcome runPrimeSearch(shell::AppContext& ctx, SearchStep step, engine::BigInt& n)
{
    const int64_t timeoutMs = ctx.state.limits.internalTimeLimitMs();
    return step(ctx.worker, n, {timeoutMs, timeoutMs + kPrimeSearchExtraMs});
}

}  // namespace calculator
