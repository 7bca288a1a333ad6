#include "primality/first_check.h"

#include "engine/checked_integer.h"
#include "engine/divisor_test.h"
#include "ui/control_ids.h"

namespace primality {

int runFirstCheck(shell::AppContext& ctx, const engine::BigInt& n)
{
    int level = 0;
    engine::runThreaded(ctx.worker, [&] { level = engine::firstCheck(n, ctx.state.divisors); });
    if (level > 0)
        engine::countUp(ctx.state.counters.divisorHits(level));
    return level;
}

void showDivisorHits(shell::AppContext& ctx)
{
    ctx.controls.setText(ui::ControlId::Div1, QString::number(ctx.state.counters.d1Hits));
    ctx.controls.setText(ui::ControlId::Div2, QString::number(ctx.state.counters.d2Hits));
    ctx.controls.setText(ui::ControlId::Div3, QString::number(ctx.state.counters.d3Hits));
}

}  // namespace primality
