#pragma once
// The number file: the number's decimal digits, possibly surrounded by line
// ends, blanks or a byte-order mark. Only the bytes '0'..'9' count.
#include <string>

namespace prp {

struct NumberText {
    bool ok = false;
    std::string error;   // set when !ok
    std::string digits;  // leading zeros removed, "0" for zero
};

// Reads the whole file in one block and keeps its digit bytes in order.
// Fails when the file cannot be read or holds no digit at all.
NumberText readNumberFile(const std::string& path);

}  // namespace prp
