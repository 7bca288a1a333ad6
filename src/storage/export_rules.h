#pragma once
// How one results-list line becomes cells of one spreadsheet row: statistics
// rows and counts become numbers, other lines text. No window.
#include <string>
#include <string_view>
#include <vector>

#include "storage/biff2_writer.h"

namespace storage {

struct ExportCell {
    int column;
    bool isNumber;
    std::string text;  // labels
    double value;      // numbers
    CellAttributes attributes;
};

struct ExportRow {
    std::vector<ExportCell> cells;
    bool takesRow = true;  // false for an empty line: no row at all
};

// The first rule that matches the line decides (separator, table header,
// statistics row, total, completion line, candidate, analysis, segment notes,
// digit totals, anything else). The line is in the 8-bit code page.
ExportRow exportRow(std::string_view line);

}  // namespace storage
