#include "calculator/undo.h"

#include "calculator/history_output.h"
#include "shell/large_number_views.h"
#include "ui/control_ids.h"

namespace calculator {

void undoLastCalculation(shell::AppContext& ctx, const CalculatorSession& session)
{
    shell::AppState& state = ctx.state;
    if (state.undoCopy.empty())
        return;
    ctx.results.clearStartupNotes();
    OperationRecord record;
    record.op = session.lastOperation;
    record.startMs = ctx.nowMs();
    record.wait.add(ctx, QStringLiteral("PLEASE WAIT..."));
    state.currentNumber = state.undoCopy;
    record.note = QStringLiteral(" Undo last calculation");
    if (record.op && record.op->value == ValueShown::Memory)
        record.valueView = shell::boundedView(ctx, state.memory);
    else if (record.op && record.op->value == ValueShown::Operand)
        record.valueView = session.lastValueView;
    writeHistory(ctx, record);
    finishOperation(ctx, record);
}

void autoUndoSwitched(shell::AppContext& ctx)
{
    ctx.results.clearStartupNotes();
    ctx.results.add(ctx.controls.checked(ui::ControlId::AutoUndo)
                        ? QStringLiteral("Auto Undo [ON]: calculated numbers will only be presented here.")
                        : QStringLiteral("Auto Undo [OFF]: calculated numbers will be stored in memory."));
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

}  // namespace calculator
