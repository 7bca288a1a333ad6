#pragma once
// The end of every operation, shared with "Undo last CALC": the history
// lines, then restoring what Auto Undo keeps and releasing the lock.
#include <QString>
#include <optional>
#include <string>

#include "calculator/operation_table.h"
#include "calculator/wait_line.h"
#include "engine/worker_run.h"
#include "shell/app_context.h"

namespace calculator {

enum class ResultKind { Numeric, Text };

struct OperationRecord {
    const Operation* op = nullptr;  // none when no operation ran yet (Undo after MR)
    QString note;
    QString suffix = QStringLiteral(", placed in memory");
    ResultKind kind = ResultKind::Numeric;
    // Set when STOP or a time limit ended the run: nothing was computed.
    std::optional<engine::Outcome> abandoned;
    int64_t startMs = 0;
    std::string valueView;  // "Value used " for the operations that take one
    WaitLine wait;
};

void writeHistory(shell::AppContext& ctx, OperationRecord& record);

// Auto Undo restores the number from before the operation (for a text
// operation: the decimal text of its value); then Number changed and unlock.
void finishOperation(shell::AppContext& ctx, const OperationRecord& record);

}  // namespace calculator
