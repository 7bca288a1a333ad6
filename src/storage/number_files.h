#pragma once
// Number files hold the digits only, no line end; they are written with
// writeFileAtomically (atomic_file.h) and read with readDigitsOfFile
// (whole_file.h). These two sit in the working directory.
namespace storage {

inline constexpr const char* kLastNumberFile = "last_number.txt";
inline constexpr const char* kLastPrpFile = "last_PRP.txt";

// The probable-prime tester program, under the name it has always had.
inline constexpr const char* kTesterProgram = "pfgw64_133mm.exe";

}  // namespace storage
