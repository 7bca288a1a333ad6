#include "primality/tester_run_command.h"

#include "primality/external_prp_check.h"
#include "engine/tester_output.h"
#include "primality/tester_process.h"
#include "ui/control_ids.h"
#include "ui/test_modes.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"

namespace primality {

namespace {

// The console of the last run stays open for reading until the next run.
QPointer<ConsoleWindow> lastConsole;

ConsoleWindow* freshConsole(shell::AppContext& ctx)
{
    delete lastConsole.data();
    lastConsole = new ConsoleWindow(ctx.window);
    return lastConsole.data();
}

QString elapsedWithTwoDecimals(int64_t ms) { return QString::number(static_cast<double>(ms) / 1000.0, 'f', 2); }

void reportResult(shell::AppContext& ctx, const TesterRun& run)
{
    const QString stamp = shell::completionStamp(ctx.clock.localNow());
    const QString done = QStringLiteral(" - Done in ") + elapsedWithTwoDecimals(ctx.nowMs() - run.startMs()) +
                         QStringLiteral(" s") + stamp;
    ctx.results.add(shell::numberLine(ctx, ctx.state.currentNumber));
    if (run.resultLine().empty())
        ctx.results.add(QStringLiteral("PFGW Result: console window was closed by user") + done);
    else
        ctx.results.add(QStringLiteral("PFGW Result: ") + shell::latin1(engine::summariseResultLine(run.resultLine())) + done);
}

void runInConsole(shell::AppContext& ctx)
{
    const int mode = ctx.controls.selectedIndex(ui::ControlId::TestMode);
    ConsoleWindow* console = freshConsole(ctx);
    TesterRun run(ctx, console);
    if (run.start(ui::testModeSwitches(mode)) != TesterRun::Start::Started) {
        delete console;
        return;
    }
    console->show();
    ctx.results.add(QStringLiteral("PFGW started at ") + shell::clockPrefix(ctx.clock.localNow()) + QStringLiteral("[") +
                    ctx.controls.itemText(ui::ControlId::TestMode, mode) +
                    QStringLiteral("] - monitor progress in the console window. Press STOP to cancel."));
    ctx.results.scrollToEnd();
    countExternalRun(ctx);

    if (run.follow() == TesterRun::End::Stopped)
        ctx.results.add(QStringLiteral("PFGW stopped by user") + shell::completionStamp(ctx.clock.localNow()));
    else
        reportResult(ctx, run);
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

}  // namespace

void runTesterOnCurrentNumber(shell::AppContext& ctx)
{
    if (ctx.state.currentNumber.empty()) {
        ctx.dialogs.message(QStringLiteral("Problem!"),
                            QStringLiteral("You need to have a number stored in the program's memory."));
        return;
    }
    if (testerRunning()) {
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("PFGW is already running! Use STOP to abort."));
        return;
    }
    if (!prepareTesterFiles(ctx, ctx.state.currentNumber))
        return;
    shell::setControlLock(ctx, true);
    ctx.controls.setText(ui::ControlId::NextPrevElapsed, QString());
    ctx.controls.setText(ui::ControlId::Qty, QStringLiteral("0"));
    runInConsole(ctx);
    shell::setControlLock(ctx, false);
}

}  // namespace primality
