#include "primality/external_prp_check.h"

#include "engine/checked_integer.h"
#include "engine/tester_output.h"
#include "engine/tester_process.h"
#include "primality/tester_process.h"
#include "storage/number_files.h"
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
        return {NotRun::NumberFileNotWritten};
    TesterRun run(ctx, nullptr);
    switch (run.start(engine::kHiddenCheckSwitches)) {
    case TesterRun::Start::Started:
        break;
    case TesterRun::Start::Missing:
        return {NotRun::TesterMissing};
    case TesterRun::Start::NotLaunched:
        return {NotRun::TesterNotLaunched};
    }
    countExternalRun(ctx);
    if (run.follow() == TesterRun::End::Stopped)
        return {std::nullopt, engine::Verdict::Stopped};
    return {std::nullopt, engine::verdictFromResultLine(run.resultLine())};
}

QString notRunLine(NotRun reason)
{
    const QString opening = QStringLiteral("The probable-prime test was not run: ");
    switch (reason) {
    case NotRun::NumberFileNotWritten:
        return opening + QLatin1String(storage::kLastPrpFile) + QStringLiteral(" could not be written.");
    case NotRun::TesterMissing:
        return opening + QLatin1String(storage::kTesterProgram) + QStringLiteral(" was not found.");
    case NotRun::TesterNotLaunched:
        return opening + QLatin1String(storage::kTesterProgram) + QStringLiteral(" could not be started.");
    }
    return opening;
}

}  // namespace primality
