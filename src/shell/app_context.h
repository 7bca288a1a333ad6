#pragma once
// What a command is given: the shared state, the controls, the results list,
// the dialogs, the clock, the random source and the worker host.
#include <QString>
#include <string_view>

#include "engine/worker_run.h"
#include "shell/app_state.h"
#include "shell/clock.h"
#include "engine/random_source.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/results_list.h"

class QWidget;

namespace shell {

struct AppContext {
    AppState& state;
    ui::Controls& controls;
    ui::ResultsList& results;
    ui::Dialogs& dialogs;
    Clock& clock;
    engine::RandomSource& random;
    engine::WorkerHost& worker;
    QWidget* window;

    void processPendingEvents() { worker.processPendingEvents(); }
    int64_t nowMs() { return clock.monotonicMs(); }
};

// Short ASCII texts (views, digits of small numbers) into the list's QString.
inline QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace shell
