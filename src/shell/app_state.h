#pragma once
// The state every command shares, owned by the window thread for the life of
// the process. Numbers live here as decimal text between commands.
#include <array>
#include <cstdint>
#include <string>

#include "engine/big_integer.h"
#include "engine/divisor_products.h"
#include "shell/limits.h"

namespace shell {

constexpr int kParameterEntries = 51;

struct AppState {
    AppState();

    // The program's one working number; empty means no number. A leading "-"
    // only after a negative calculator result.
    std::string currentNumber;
    int64_t digitCount() const { return static_cast<int64_t>(currentNumber.size()); }

    engine::BigInt memory;  // calculator memory M; 0 means empty
    std::string undoCopy;
    int lastCalculatorOperation = 0;

    LimitsTable limits;
    // Entries 1..51 (index 0 unused): 1 the work directory, 2..10 the Limits.
    std::array<std::string, kParameterEntries + 1> parameterTable;
    // The directory chosen with SET since start-up (empty when none):
    // where the SAVE and LOAD dialogs start and what default names begin with.
    std::string workDirectoryChosen;

    engine::DivisorProducts divisors;

    // Statistics of the generation run and the checks: entries 1..3 the hits
    // of D1..D3, entry 4 the searches or external checks; entry 0 is saved only.
    std::array<int64_t, 5> counters{};
    int64_t runCounter = 0;  // worker runs, shown in "QTY"

    bool quitRequested = false;
};

}  // namespace shell
