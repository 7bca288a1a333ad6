#include "primality/primality_commands.h"

#include "primality/factor_command.h"
#include "primality/tester_run_command.h"
#include "primality/verify_commands.h"
#include "ui/control_ids.h"

namespace primality {

void registerPrimalityCommands(shell::Dispatcher& d)
{
    d.on(ui::ControlId::Check, checkTypedNumber);
    d.on(ui::ControlId::IsPrime, checkCurrentNumberCommand);
    d.on(ui::ControlId::VerifyClipboard, verifyClipboardNumber);
    d.on(ui::ControlId::VerifyFromFile, verifyNumberFile);
    d.on(ui::ControlId::LoadNumber, loadNumberFile);
    d.on(ui::ControlId::Fact, factorCurrentNumber);
    d.on(ui::ControlId::RunPrp, runTesterOnCurrentNumber);
}

}  // namespace primality
