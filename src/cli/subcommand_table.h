#pragma once
// The subcommands of quendrolt-cli as a table: registration, help and
// dispatch all come from its rows (subcommand_table.cpp).
#include <memory>
#include <span>
#include <string_view>

#include "cli/command.h"

namespace cli {

// Where a subcommand runs under mpirun: the searches share their work over
// every rank; the others run on rank 0 alone while the rest wait.
enum class Ranked { Shared, LeaderOnly };

struct Subcommand {
    std::string_view name;
    std::string_view summary;  // its line in --help
    Ranked ranked;
    std::unique_ptr<Command> (*make)();
};

[[nodiscard]] std::span<const Subcommand> subcommands();

// The options every subcommand takes before or after its name, one row each;
// rows marked searchesOnly are offered by the Shared rows (and before any
// subcommand) only.
struct SharedSettings {
    OutputStyle style;
    SearchSettings search;
};

struct SharedOption {
    std::string_view flags;
    std::string_view help;
    bool searchesOnly;
    bool takesValue;  // the next word is its value (unless written --name=value)
    void (*add)(CLI::App& app, const SharedOption& row, SharedSettings& settings);
};

[[nodiscard]] std::span<const SharedOption> sharedOptions();

// True when word is one of the row's names ("-q" or "--quiet" of "-q,--quiet").
[[nodiscard]] bool namesOption(const SharedOption& row, std::string_view word);

}  // namespace cli
