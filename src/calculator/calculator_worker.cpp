#include "calculator/calculator_worker.h"

#include "engine/decimal_text.h"

namespace calculator {

namespace {

// Prime searches get their own bound two seconds after the general limit.
constexpr int64_t kPrimeSearchExtraMs = 2000;

// Runs inside the child.
void compute(const WorkerInputs& in, WorkerResult& out)
{
    engine::BigInt value;
    if (!engine::setFromDecimal(value, in.number))
        value.set(0UL);  // a text GMP rejects counts as 0, as everywhere in the calculator
    mpz_ptr r = out.value.get();
    mpz_srcptr a = value.get();
    mpz_srcptr b = in.b.get();
    switch (in.code) {
    case Add: mpz_add(r, a, b); break;
    case Subtract: mpz_sub(r, a, b); break;
    case Divide: mpz_tdiv_q(r, a, b); break;
    case Multiply: mpz_mul(r, a, b); break;
    case Power: mpz_pow_ui(r, a, in.e); break;
    case Root: out.exact = mpz_root(r, a, in.e) != 0; break;
    case Mod: mpz_mod(r, a, b); break;
    case Gcd: mpz_gcd(r, a, b); break;
    case AddSmall: mpz_add_ui(r, a, in.e); break;
    case Lcm: mpz_lcm(r, a, b); break;
    case GcfMemory: mpz_gcd(r, a, in.memory.get()); break;
    case RootRem: mpz_rootrem(r, out.remainder.get(), a, in.e); break;
    default: mpz_set(r, a); break;
    }
}

}  // namespace

engine::Outcome runCalculatorWorker(shell::AppContext& ctx, const WorkerInputs& in, WorkerResult& result)
{
    const engine::RunLimits limits{ctx.state.limits.internalTimeLimitMs(), engine::kNoLimit};
    return engine::runForked(
        ctx.worker, engine::WorkerKind::CalculatorOperation, limits,
        [&](engine::ResultWriter& out) {
            WorkerResult computed;
            compute(in, computed);
            return out.writeBigInt(computed.value) && out.writeBigInt(computed.remainder) &&
                   out.writeInt(computed.exact ? 1 : 0);
        },
        [&](engine::ResultReader& in) {
            int64_t exact = 0;
            bool read = in.readBigInt(result.value) && in.readBigInt(result.remainder) && in.readInt(exact);
            result.exact = exact != 0;
            return read;
        },
        &result.failure);
}

engine::Outcome runPrimeSearch(shell::AppContext& ctx, OperationCode code, engine::BigInt& n)
{
    const int64_t timeoutMs = ctx.state.limits.internalTimeLimitMs();
    const engine::RunLimits limits{timeoutMs, timeoutMs + kPrimeSearchExtraMs};
    return code == NextPrime ? engine::runNextPrime(ctx.worker, n, limits)
                             : engine::runPreviousPrime(ctx.worker, n, limits);
}

}  // namespace calculator
