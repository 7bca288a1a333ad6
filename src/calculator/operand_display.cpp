#include "calculator/operand_display.h"

#include "calculator/off_window.h"
#include "shell/control_ids.h"

namespace calculator {

namespace {

constexpr int kOperandButtons[] = {shell::id::OperandPaste, shell::id::OperandClear, shell::id::OperandCopy,
                                   shell::id::OperandOne, shell::id::OperandTwo};

void showOperandRow(ui::Controls& c, bool operandShown)
{
    c.setVisible(shell::id::Operand, operandShown);
    for (int button : kOperandButtons)
        c.setVisible(button, operandShown);
    c.setVisible(shell::id::MemoryDisplay, !operandShown);
}

}  // namespace

void refreshOperandDisplay(shell::AppContext& ctx)
{
    ui::Controls& c = ctx.controls;
    if (c.checked(shell::id::OperandOption)) {
        c.setText(shell::id::OperandLabel, QStringLiteral("Operand:"));
        showOperandRow(c, true);
        return;
    }
    // Only the two ends of a huge M are worked out, never its whole text.
    c.setText(shell::id::MemoryDisplay, shell::latin1(boundedView(ctx, ctx.state.memory)));
    c.setText(shell::id::OperandLabel, QStringLiteral("Memory [M]:"));
    showOperandRow(c, false);
}

}  // namespace calculator
