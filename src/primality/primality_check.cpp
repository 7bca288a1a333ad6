#include "primality/primality_check.h"

#include "engine/decimal_text.h"
#include "engine/worker_run.h"
#include "primality/external_prp_check.h"
#include "primality/first_check.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"
#include "shell/verdict_text.h"

namespace primality {

namespace {

const QString kPleaseWait = QStringLiteral("PLEASE WAIT... This process can take minutes or several hours!");

void startPleaseWait(shell::AppContext& ctx)
{
    ctx.results.startPleaseWait(kPleaseWait, shell::clockTimeWithSeconds(ctx.clock.localNow()));
}

QString probablePrimeVerdict(shell::AppContext& ctx, const engine::BigInt& n)
{
    startPleaseWait(ctx);
    engine::Verdict verdict = engine::Verdict::NotDone;
    engine::Outcome outcome =
        engine::runProbablePrime(ctx.worker, n, engine::kProbablePrimeRepetitions, ctx.state.limits.internalTimeLimitMs(), verdict);
    ctx.results.removePleaseWait();
    if (outcome == engine::Outcome::Timeout) {
        // Stopped by the clock, the test says nothing about the number.
        ctx.results.add(QStringLiteral("The probable-prime test ended without a result: the internal time limit was reached."));
        return shell::verdictText(engine::Verdict::NotDone);
    }
    if (outcome == engine::Outcome::Failed) {
        // The test's process died (for instance out of memory): no verdict was reached.
        ctx.results.add(QStringLiteral("The probable-prime test ended without a result "
                                       "(its worker process failed, for instance for lack of memory)."));
        return shell::verdictText(engine::Verdict::NotDone);
    }
    if (outcome != engine::Outcome::Finished)
        return shell::verdictText(engine::verdictOfAbandoned(outcome));
    return shell::verdictText(verdict);
}

QString largeNumberVerdict(shell::AppContext& ctx, const engine::BigInt& n)
{
    if (runFirstCheck(ctx, n) != 0) {
        showDivisorHits(ctx);
        ctx.processPendingEvents();
        return QString::fromLatin1(engine::kDefinitelyNotPrime.data(), engine::kDefinitelyNotPrime.size());
    }
    ctx.results.add(QStringLiteral("First check: Approved"));
    showDivisorHits(ctx);
    ctx.results.scrollToEnd();
    startPleaseWait(ctx);
    ExternalCheck check = externalPrpCheck(ctx, ctx.state.currentNumber);
    ctx.results.removePleaseWait();
    if (check.ran())
        return shell::verdictText(check.verdict);
    // The message said it already; the list, which is what stays, says it too.
    ctx.results.add(notRunLine(*check.notRun));
    return shell::verdictText(engine::Verdict::NotDone);
}

QString verdictOf(shell::AppContext& ctx, const engine::BigInt& n)
{
    ctx.processPendingEvents();
    if (engine::checkedByTester(ctx.state.digitCount(), ctx.state.limits[engine::LargeNumbersStart]))
        return largeNumberVerdict(ctx, n);
    return probablePrimeVerdict(ctx, n);
}

}  // namespace

void zeroCounterFields(shell::AppContext& ctx)
{
    for (int field : {ui::ControlId::Tot, ui::ControlId::Div1, ui::ControlId::Div2, ui::ControlId::Div3, ui::ControlId::Qty})
        ctx.controls.setText(field, QStringLiteral("0"));
}

void testAndReport(shell::AppContext& ctx, CheckMode mode, const engine::BigInt& n, int64_t startMs)
{
    QString verdict;
    if (mode != CheckMode::LoadOnly)
        verdict = verdictOf(ctx, n);

    const int64_t digits = ctx.state.digitCount();
    shell::numberChanged(ctx, digits);
    shell::showCurrentNumberStatus(ctx);
    ctx.results.add(shell::numberLine(ctx, ctx.state.currentNumber));
    if (mode != CheckMode::LoadOnly)
        ctx.results.add(QStringLiteral("Final verification: ") + verdict.toUpper());
    ctx.results.add(shell::completionLine(ctx.nowMs() - startMs, ctx.clock.localNow()));
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

void checkCurrentNumber(shell::AppContext& ctx, CheckMode mode)
{
    const std::string& number = ctx.state.currentNumber;
    if (number.empty() || number == "0")
        return;
    shell::setControlLock(ctx, true);
    ctx.results.add(QStringLiteral("Analyzing a number with %1 digits:").arg(ctx.state.digitCount()));
    ctx.results.scrollToEnd();

    engine::BigInt n;
    engine::runThreaded(ctx.worker, [&] { engine::setFromDecimal(n, number); });
    const int64_t startMs = ctx.nowMs();
    zeroCounterFields(ctx);
    testAndReport(ctx, mode, n, startMs);
    shell::setControlLock(ctx, false);
}

}  // namespace primality
