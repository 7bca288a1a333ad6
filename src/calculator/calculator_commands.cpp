#include "calculator/calculator_commands.h"

#include <memory>

#include "calculator/operation_sequence.h"
#include "calculator/memory_commands.h"
#include "shell/operand_row.h"
#include "calculator/undo.h"
#include "ui/control_ids.h"

namespace calculator {

void registerCalculatorCommands(shell::Dispatcher& d)
{
    auto session = std::make_shared<CalculatorSession>();
    for (const Operation& op : allOperations())
        d.on(op.button, [session, &op](shell::AppContext& ctx) { runOperation(ctx, *session, op); });
    d.on(ui::ControlId::UndoLastCalc, [session](shell::AppContext& ctx) { undoLastCalculation(ctx, *session); });
    d.on(ui::ControlId::AutoUndo, autoUndoSwitched);
    d.on(ui::ControlId::MemoryStore, storeInMemory);
    d.on(ui::ControlId::MemoryRecall, recallMemory);
    d.on(ui::ControlId::MemoryClear, clearMemory);
    d.on(ui::ControlId::MemoryAdd, addToMemory);
    d.on(ui::ControlId::MemorySubtract, subtractFromMemory);
    d.on(ui::ControlId::CalculatorClear, clearCalculator);
    d.on(ui::ControlId::MemorySwap, swapMemoryAndNumber);
    d.on(ui::ControlId::YourNumberToMemory, yourNumberToMemory);
    d.on(ui::ControlId::YourNumberToDisplay, yourNumberToDisplay);
    d.on(ui::ControlId::OperandOption, shell::refreshOperandDisplay);
    d.on(ui::ControlId::MemoryOption, shell::refreshOperandDisplay);
}

}  // namespace calculator
