#include "generator/generation_command.h"

#include <string>

#include "generator/generation_inputs.h"
#include "generator/generation_run.h"
#include "primality/first_check.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "ui/control_ids.h"

namespace generator {

namespace {

using Field = GenerationView::Field;

int controlOf(Field field)
{
    switch (field) {
    case Field::Tot:
        return ui::ControlId::Tot;
    case Field::Div1:
        return ui::ControlId::Div1;
    case Field::Div2:
        return ui::ControlId::Div2;
    case Field::Div3:
        return ui::ControlId::Div3;
    case Field::Qty:
        return ui::ControlId::Qty;
    case Field::Prp:
        return ui::ControlId::PrpElapsed;
    case Field::NextPrev:
        break;
    }
    return ui::ControlId::NextPrevElapsed;
}

// The window as the run's view and work.
class WindowGeneration : public GenerationView, public GenerationWork {
public:
    explicit WindowGeneration(shell::AppContext& ctx) : ctx_(ctx) {}

    // ---- view ----
    void begin() override
    {
        ctx_.state.runCounter = 0;
        ctx_.controls.setEnabled(ui::ControlId::Exit, false);
    }
    void lock() override
    {
        shell::setControlLock(ctx_, true);
        ctx_.results.clearStartupNotes();
    }
    void unlock() override { shell::setControlLock(ctx_, false); }
    void showNumberFields() override { shell::numberChanged(ctx_, ctx_.state.digitCount()); }

    void refuseIconic(engine::IconicRefusal refusal) override { showIconicRefusal(ctx_, refusal); }
    void resumeFileMissing() override
    {
        ctx_.dialogs.message(QStringLiteral("Problem!"),
                             QStringLiteral("Previous processing file not found:\r\r") + QLatin1String(storage::kResumeFile) +
                                 QStringLiteral("\r\rInitial processing will be restarted."));
    }

    void addLine(const QString& line) override { ctx_.results.add(line); }
    void addSeparator() override { ctx_.results.addSeparator(); }
    void showWaiting(const QStringList& lines) override
    {
        waitingAt_ = ctx_.results.count();
        waitingLines_ = static_cast<int>(lines.size());
        for (const QString& line : lines)
            ctx_.results.add(line);
        ctx_.results.scrollToEnd();
    }
    void removeWaiting() override
    {
        for (int i = waitingLines_ - 1; i >= 0; --i)
            ctx_.results.remove(waitingAt_ + i);
        waitingLines_ = 0;
    }
    void scrollToEnd() override { ctx_.results.scrollToEnd(); }

    void setField(Field field, const QString& text) override { ctx_.controls.setText(controlOf(field), text); }
    QString field(Field field) const override { return ctx_.controls.text(controlOf(field)); }

    void processEvents(Pause) override { ctx_.processPendingEvents(); }
    bool stopTicked() const override { return ctx_.controls.checked(ui::ControlId::Stop); }
    void untickStop() override { ctx_.controls.setChecked(ui::ControlId::Stop, false); }

    const std::string& keepAsCurrentNumber(std::string number) override
    {
        ctx_.state.currentNumber = std::move(number);
        shell::showCurrentNumberStatus(ctx_);
        return ctx_.state.currentNumber;
    }
    void addCurrentNumberLine() override { ctx_.results.add(shell::numberLine(ctx_, ctx_.state.currentNumber)); }

    // ---- work ----
    int firstCheck(const engine::BigInt& x) override { return primality::runFirstCheck(ctx_, x); }
    engine::Outcome nextPrime(engine::BigInt& n, engine::RunLimits limits) override
    {
        return engine::runNextPrime(ctx_.worker, n, limits);
    }
    engine::Outcome previousPrime(engine::BigInt& n, engine::RunLimits limits) override
    {
        return engine::runPreviousPrime(ctx_.worker, n, limits);
    }
    primality::ExternalCheck externalCheck(const std::string& digits) override
    {
        return primality::externalPrpCheck(ctx_, digits);
    }
    int64_t workerRuns() const override { return ctx_.state.runCounter; }
    engine::WorkerHost& host() override { return ctx_.worker; }

private:
    shell::AppContext& ctx_;
    int waitingAt_ = 0;
    int waitingLines_ = 0;
};

}  // namespace

void startGeneration(shell::AppContext& ctx)
{
    std::optional<GenerationSettings> settings = readCheckedSettings(ctx);
    if (!settings)
        return;
    WindowGeneration window(ctx);
    runGeneration(window, window, {ctx.clock, ctx.random, ctx.state.counters}, *settings);
}

}  // namespace generator
