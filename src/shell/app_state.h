#pragma once
// The state every command shares, owned by the window thread for the life of
// the process. Numbers live here as decimal text between commands.
#include <array>
#include <cstdint>
#include <string>

#include "engine/big_integer.h"
#include "engine/divisor_products.h"
#include "engine/limits.h"
#include "shell/parameter_table.h"
#include "shell/program_places.h"
#include "storage/resume_file.h"

namespace shell {

struct AppState {
    AppState();

    // The program's one working number; empty means no number. A leading "-"
    // only after a negative calculator result.
    std::string currentNumber;
    int64_t digitCount() const { return static_cast<int64_t>(currentNumber.size()); }

    engine::BigInt memory;  // calculator memory M; 0 means empty
    std::string undoCopy;

    engine::LimitsTable limits;
    ParameterTable parameterTable;
    // The directory chosen with SET since start-up (empty when none):
    // where the SAVE and LOAD dialogs start and what default names begin with.
    std::string workDirectoryChosen;

    engine::DivisorProducts divisors;

    // Statistics of the generation run and the checks.
    storage::RunCounters counters;
    int64_t runCounter = 0;  // worker runs, shown in "QTY"

    ProgramPlaces places;

    bool quitRequested = false;
};

}  // namespace shell
