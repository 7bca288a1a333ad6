#include "primality/external_prp_check.h"

#include "engine/checked_integer.h"
#include "engine/tester_output.h"
#include "engine/tester_process.h"
#include "primality/tester_process.h"
#include "ui/control_ids.h"

namespace primality {

void countExternalRun(shell::AppContext& ctx)
{
    engine::countUp(ctx.state.counters.externalChecks);
    ctx.controls.setText(ui::ControlId::Qty, QString::number(ctx.state.counters.externalChecks));
}

ExternalCheck externalPrpCheck(shell::AppContext& ctx, const std::string& digits)
{
    if (!prepareTesterFiles(ctx, digits))
        return {};
    TesterRun run(ctx, nullptr);
    if (!run.start(engine::kHiddenCheckSwitches))
        return {};
    countExternalRun(ctx);
    if (run.follow() == TesterRun::End::Stopped)
        return {true, engine::Verdict::Stopped};
    return {true, engine::verdictFromResultLine(run.resultLine())};
}

}  // namespace primality
