#pragma once
#include <string>

#include "shell/dispatcher.h"
#include "ui/results_list.h"

namespace files {

// "Export to Excel" (23).
void registerExportCommand(shell::Dispatcher& dispatcher);

struct ExportOutcome {
    bool written = false;     // every record reached the file
    int lastLineTaken = -1;   // index of the last list line read, -1 for an empty list
};

// Writes the last maxRows lines of the list (at most maxRows rows below the
// "Total digits" heading) as a BIFF2 worksheet at path.
ExportOutcome exportResults(const ui::ResultsList& results, const std::string& path, int64_t maxRows);

}  // namespace files
