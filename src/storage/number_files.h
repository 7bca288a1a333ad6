#pragma once
// Number files: the digits only, no line end.
#include <string>

namespace storage {

// Writes digits to path through a temporary file in the same directory and a
// rename, so a crash or a full disk never leaves a truncated file behind.
// Returns false when the file could not be written (the old file stays).
bool writeNumberFileAtomically(const std::string& path, const std::string& digits);

// last_number.txt and last_PRP.txt in the working directory.
inline constexpr const char* kLastNumberFile = "last_number.txt";
inline constexpr const char* kLastPrpFile = "last_PRP.txt";

}  // namespace storage
