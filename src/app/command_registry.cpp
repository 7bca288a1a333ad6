#include "app/command_registry.h"

#include "analysis/digit_commands.h"
#include "calculator/calculator_commands.h"
#include "files/export_command.h"
#include "files/file_commands.h"
#include "files/parameters_commands.h"
#include "generator/generator_commands.h"
#include "help/help_commands.h"
#include "primality/primality_commands.h"
#include "shell/limits_commands.h"
#include "shell/window_commands.h"

namespace app {

void registerAllCommands(shell::Dispatcher& dispatcher)
{
    shell::registerWindowCommands(dispatcher);
    shell::registerLimitsCommands(dispatcher);
    generator::registerGeneratorCommands(dispatcher);
    analysis::registerDigitCommands(dispatcher);
    files::registerParametersCommands(dispatcher);
    files::registerExportCommand(dispatcher);
    files::registerNumberFileCommands(dispatcher);
    help::registerHelpCommands(dispatcher);
    primality::registerPrimalityCommands(dispatcher);
    calculator::registerCalculatorCommands(dispatcher);
}

}  // namespace app
