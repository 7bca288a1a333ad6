// help [NAME]: the program's help, or one subcommand's, as --help shows it.
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/failure.h"
#include "cli/quoted_text.h"
#include "cli/result_output.h"

namespace cli {

namespace {

class HelpCommand : public Command {
public:
    void describe(CLI::App& entry) override { entry.add_option("name", name_, "the subcommand to describe"); }

    ExitStatus run(RunContext& context) override
    {
        const CLI::App& program = context.program;
        if (name_.empty()) {
            // The program's own page: program.help() would describe the
            // subcommand parsed last, which is this one.
            printText(program.get_formatter()->make_help(&program, program.get_name(), CLI::AppFormatMode::Normal));
            return ExitFound;
        }
        for (const CLI::App* entry : program.get_subcommands({}))
            if (entry->get_name() == name_) {
                printText(entry->help(program.get_name()));
                return ExitFound;
            }
        throw BadInput("no subcommand is named " + quotedText(name_));
    }

private:
    std::string name_;
};

}  // namespace

std::unique_ptr<Command> makeHelpCommand() { return std::make_unique<HelpCommand>(); }

}  // namespace cli
