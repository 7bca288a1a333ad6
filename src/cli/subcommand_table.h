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

}  // namespace cli
