#include "files/command_group.h"

#include "analysis/digit_commands.h"
#include "files/export_command.h"
#include "files/parameters_commands.h"
#include "help/help_commands.h"

namespace files {

void registerAnalysisFileAndHelpCommands(shell::Dispatcher& d)
{
    analysis::registerDigitCommands(d);
    registerParametersCommands(d);
    registerExportCommand(d);
    help::registerHelpCommands(d);
}

}  // namespace files
