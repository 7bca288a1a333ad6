#pragma once
// The program: state, window, dispatcher and the start-up sequence.
#include <memory>

#include "shell/app_context.h"
#include "shell/dispatcher.h"
#include "shell/window_worker_host.h"
#include "ui/main_window.h"

namespace shell {

inline constexpr const char* kVersionText = "0.96 beta";

class Application {
public:
    Application(ui::Dialogs& dialogs, Clock& clock, RandomSource& random);

    // Start-up: scheduling, initial control states, the window shown, the
    // divisor products read or built, the start-up notes.
    void start();

    ui::MainWindow& window() { return window_; }
    AppState& state() { return state_; }
    AppContext& context() { return context_; }
    Dispatcher& dispatcher() { return dispatcher_; }

private:
    void applyInitialStates();
    void loadDivisorProducts();
    void writeStartupNotes();
    bool closeRequested();

    AppState state_;
    ui::MainWindow window_;
    WindowWorkerHost worker_;
    AppContext context_;
    Dispatcher dispatcher_;
    QString divisorFileWarning_;
};

}  // namespace shell
