#pragma once
// Reading a number from any text file: only its bytes '0'..'9' count, in file
// order; blanks, line ends, letters, a byte-order mark and the zero bytes of a
// UTF-16 file all drop out. Files of tens of millions of digits are read with
// one read into one buffer and filtered in place in a single pass.
#include <string>

namespace storage {

enum class NumberFileStatus { Read, CannotOpen, NoMemory };

// On Read, digits holds the kept digits (possibly none); otherwise digits is
// left as it was.
NumberFileStatus readNumberFile(const std::string& path, std::string& digits);

// Keeps the bytes '0'..'9' of text at its front, in order; returns their count.
size_t keepDigitBytes(char* text, size_t size);

}  // namespace storage
