#include "calculator/calculator_commands.h"

#include <memory>

#include "calculator/calculator_command.h"
#include "calculator/memory_commands.h"
#include "calculator/operand_display.h"
#include "calculator/undo.h"
#include "shell/control_ids.h"

namespace calculator {

void registerCalculatorCommands(shell::Dispatcher& d)
{
    namespace id = shell::id;
    auto session = std::make_shared<CalculatorSession>();
    for (int i = 0; i < kOperationCount; ++i) {
        const Operation& op = allOperations()[i];
        d.on(op.buttonId, [session, &op](shell::AppContext& ctx) { runOperation(ctx, *session, op); });
    }
    d.on(id::UndoLastCalc, [session](shell::AppContext& ctx) { undoLastCalculation(ctx, *session); });
    d.on(id::AutoUndo, autoUndoSwitched);
    d.on(id::MemoryStore, storeInMemory);
    d.on(id::MemoryRecall, recallMemory);
    d.on(id::MemoryClear, clearMemory);
    d.on(id::MemoryAdd, addToMemory);
    d.on(id::MemorySubtract, subtractFromMemory);
    d.on(id::CalculatorClear, clearCalculator);
    d.on(id::MemorySwap, swapMemoryAndNumber);
    d.on(id::YourNumberToMemory, yourNumberToMemory);
    d.on(id::YourNumberToDisplay, yourNumberToDisplay);
    d.on(id::OperandOption, refreshOperandDisplay);
    d.on(id::MemoryOption, refreshOperandDisplay);
}

}  // namespace calculator
