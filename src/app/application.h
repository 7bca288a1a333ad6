#pragma once
// The program: state, window, dispatcher and the start-up sequence.
#include <memory>

#include "shell/app_context.h"
#include "shell/dispatcher.h"
#include "shell/window_worker_host.h"
#include "ui/main_window.h"

namespace app {

class Application {
public:
    Application(ui::Dialogs& dialogs, shell::Clock& clock, engine::RandomSource& random);

    // Start-up: scheduling, initial control states, the window shown, the
    // divisor products read or built, the start-up notes.
    void start();

    ui::MainWindow& window() { return window_; }
    shell::AppState& state() { return state_; }
    shell::AppContext& context() { return context_; }
    shell::Dispatcher& dispatcher() { return dispatcher_; }

private:
    void applyInitialStates();
    void loadDivisorProducts();
    void writeStartupNotes();
    bool closeRequested();

    shell::AppState state_;
    ui::MainWindow window_;
    shell::WindowWorkerHost worker_;
    shell::AppContext context_;
    shell::Dispatcher dispatcher_;
    QString divisorFileWarning_;
};

}  // namespace app
