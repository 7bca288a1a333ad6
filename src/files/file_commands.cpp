#include "files/file_commands.h"

#include "shell/clipboard_paste.h"
#include "files/save_number.h"
#include "ui/control_ids.h"

namespace files {

void registerNumberFileCommands(shell::Dispatcher& d)
{
    d.on(ui::ControlId::SaveNumber, saveNumber);
    d.on(ui::ControlId::CopyNumber, copyCurrentNumber);
    d.on(ui::ControlId::YourNumberPaste, [](shell::AppContext& ctx) { shell::pasteDigitsInto(ctx, ui::ControlId::YourNumber); });
    d.on(ui::ControlId::OperandPaste, [](shell::AppContext& ctx) { shell::pasteDigitsInto(ctx, ui::ControlId::Operand); });
    d.on(ui::ControlId::SignaturePaste, shell::pasteSignature);
}

}  // namespace files
