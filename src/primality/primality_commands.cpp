#include "primality/primality_commands.h"

#include "primality/factor_command.h"
#include "primality/tester_run_command.h"
#include "primality/verify_commands.h"
#include "shell/control_ids.h"

namespace primality {

void registerPrimalityCommands(shell::Dispatcher& d)
{
    namespace id = shell::id;
    d.on(id::Check, checkTypedNumber);
    d.on(id::IsPrime, checkCurrentNumberCommand);
    d.on(id::VerifyClipboard, verifyClipboardNumber);
    d.on(id::VerifyFromFile, verifyNumberFile);
    d.on(id::LoadNumber, loadNumberFile);
    d.on(id::Fact, factorCurrentNumber);
    d.on(id::RunPrp, runTesterOnCurrentNumber);
}

}  // namespace primality
