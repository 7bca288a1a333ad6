#pragma once
// What every subcommand is: its options, and a run that returns the exit
// status of its answer (failures are thrown: failure.h). The subcommands are
// listed in subcommand_table.cpp, one row each.
#include <optional>
#include <string>

#include "cli/exit_status.h"
#include "cli/ranks.h"

namespace CLI {
class App;
}

namespace cli {

// The options every subcommand takes, before or after its name.
struct OutputStyle {
    bool json = false;
    bool shortView = false;  // head...tail as the window shows long numbers
    bool quiet = false;      // no progress on standard error
};

// The options the searches share: how many threads each rank runs.
struct SearchSettings {
    std::optional<std::string> threadsTyped;  // --threads as typed
};

struct RunContext {
    Ranks& ranks;
    const OutputStyle& style;
    const CLI::App& program;  // the whole command line, for help
    // Threads of this rank for the searches; 0: every core, as the engine
    // chooses (it keeps a search of a few milliseconds on one thread).
    unsigned threads = 0;
};

class Command {
public:
    virtual ~Command() = default;
    // Adds the subcommand's own arguments and options to its CLI11 entry.
    virtual void describe(CLI::App& entry) = 0;
    [[nodiscard]] virtual ExitStatus run(RunContext& context) = 0;
};

constexpr const char* kNumberHelp = "the number: decimal digits, @FILE for a file holding one, - for standard input";

// The digits as a result line shows them: whole, or head...tail under --short.
[[nodiscard]] std::string shownNumber(const std::string& digits, const OutputStyle& style);

}  // namespace cli
