#pragma once
// The window's side of a worker run: events, the STOP box, the elapsed-time
// fields, the run counter in "QTY", keep-awake.
#include "engine/worker_run.h"
#include "shell/app_state.h"
#include "shell/clock.h"
#include "shell/keep_awake.h"
#include "ui/controls.h"

namespace shell {

class WindowWorkerHost : public engine::WorkerHost {
public:
    WindowWorkerHost(AppState& state, ui::Controls& controls, Clock& clock)
        : state_(state), controls_(controls), clock_(clock)
    {
    }

    void processPendingEvents() override;
    bool stopTicked() override;
    void showElapsed(engine::ElapsedDisplay display, const std::string& text) override;
    void countRun() override;
    int64_t nowMs() override { return clock_.monotonicMs(); }
    void keepAwake(bool on) override { keepAwake_.request(on); }

private:
    AppState& state_;
    ui::Controls& controls_;
    Clock& clock_;
    KeepAwake keepAwake_;
};

}  // namespace shell
