#include "files/command_group.h"
#include "shell/dispatcher.h"
#include "shell/limits_commands.h"
#include "shell/small_commands.h"

namespace shell {

void registerAllCommands(Dispatcher& dispatcher)
{
    registerSmallCommands(dispatcher);
    registerLimitsCommands(dispatcher);
    files::registerAnalysisFileAndHelpCommands(dispatcher);
}

}  // namespace shell
