#include "calculator/calculator_commands.h"
#include "files/command_group.h"
#include "files/file_commands.h"
#include "generator/generator_commands.h"
#include "primality/primality_commands.h"
#include "shell/dispatcher.h"
#include "shell/limits_commands.h"
#include "shell/small_commands.h"

namespace shell {

void registerAllCommands(Dispatcher& dispatcher)
{
    registerSmallCommands(dispatcher);
    registerLimitsCommands(dispatcher);
    generator::registerGeneratorCommands(dispatcher);
    files::registerAnalysisFileAndHelpCommands(dispatcher);
    files::registerNumberFileCommands(dispatcher);
    primality::registerPrimalityCommands(dispatcher);
    calculator::registerCalculatorCommands(dispatcher);
}

}  // namespace shell
