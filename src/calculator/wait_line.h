#pragma once
// The "PLEASE WAIT..." line of one operation: added once, removed once.
#include <QString>

#include "shell/app_context.h"

namespace calculator {

class WaitLine {
public:
    void add(shell::AppContext& ctx, const QString& text);
    void remove(shell::AppContext& ctx);

private:
    int index_ = -1;
    QString text_;
};

}  // namespace calculator
