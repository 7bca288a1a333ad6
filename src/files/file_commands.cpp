#include "files/file_commands.h"

#include "files/clipboard_paste.h"
#include "files/save_number.h"
#include "shell/control_ids.h"

namespace files {

void registerNumberFileCommands(shell::Dispatcher& d)
{
    namespace id = shell::id;
    d.on(id::SaveNumber, saveNumber);
    d.on(id::CopyNumber, copyCurrentNumber);
    d.on(id::YourNumberPaste, [](shell::AppContext& ctx) { pasteDigitsInto(ctx, id::YourNumber); });
    d.on(id::OperandPaste, [](shell::AppContext& ctx) { pasteDigitsInto(ctx, id::Operand); });
    d.on(id::SignaturePaste, pasteSignature);
}

}  // namespace files
