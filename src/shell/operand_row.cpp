#include "shell/operand_row.h"

#include "shell/large_number_views.h"
#include "ui/control_ids.h"

namespace shell {

namespace {

constexpr int kOperandButtons[] = {ui::ControlId::OperandPaste, ui::ControlId::OperandClear, ui::ControlId::OperandCopy,
                                   ui::ControlId::OperandOne, ui::ControlId::OperandTwo};

void showOperandRow(ui::Controls& c, bool operandShown)
{
    c.setVisible(ui::ControlId::Operand, operandShown);
    for (int button : kOperandButtons)
        c.setVisible(button, operandShown);
    c.setVisible(ui::ControlId::MemoryDisplay, !operandShown);
}

}  // namespace

void refreshOperandDisplay(shell::AppContext& ctx)
{
    ui::Controls& c = ctx.controls;
    if (c.checked(ui::ControlId::OperandOption)) {
        c.setText(ui::ControlId::OperandLabel, QStringLiteral("Operand:"));
        showOperandRow(c, true);
        return;
    }
    // Only the two ends of a huge M are worked out, never its whole text.
    c.setText(ui::ControlId::MemoryDisplay, shell::latin1(boundedView(ctx, ctx.state.memory)));
    c.setText(ui::ControlId::OperandLabel, QStringLiteral("Memory [M]:"));
    showOperandRow(c, false);
}

}  // namespace shell
