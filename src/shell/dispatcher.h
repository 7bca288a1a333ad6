#pragma once
// Maps a control event to exactly one command and runs it to its end. Events
// that arrive while a command runs (taken while it waits for a worker) are not
// dispatched: only the STOP box changes, and the running command reads it.
#include <functional>
#include <map>

#include "shell/app_context.h"

namespace shell {

using Command = std::function<void(AppContext&)>;

class Dispatcher {
public:
    explicit Dispatcher(AppContext& ctx) : ctx_(ctx) {}

    void on(int controlId, Command command) { commands_[controlId] = std::move(command); }
    bool handles(int controlId) const { return commands_.count(controlId) != 0; }
    void dispatch(int controlId);

    bool busy() const { return busy_; }
    // Start-up holds the dispatcher while it loads the divisor products.
    void setBusy(bool busy) { busy_ = busy; }

private:
    AppContext& ctx_;
    std::map<int, Command> commands_;
    bool busy_ = false;
};


}  // namespace shell
