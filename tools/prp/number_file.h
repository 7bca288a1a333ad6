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

// Keeps the digit bytes of the file in order, reading it block by block.
// Fails when the file cannot be read (not a regular file, larger than
// memory, ...) or holds no digit at all.
NumberText readNumberFile(const std::string& path);

}  // namespace prp
