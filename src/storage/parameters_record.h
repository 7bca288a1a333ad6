#pragma once
// The parameters file (.qdx): 84 fixed lines, the count h of history lines and
// the h lines, each ended by CR LF. Numbers of tens of millions of digits are
// single lines, so both directions work on std::string and FILE-level blocks,
// never on per-character streams. No window.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace storage {

// Line numbers of the record (1-based, as in the file).
namespace qdx {
constexpr int CurrentNumber = 1;
constexpr int Operand = 2;
constexpr int Memory = 3;
constexpr int FirstTableEntry = 4;  // entries 1..51 on lines 4..54
constexpr int TotalDigits = 55;
constexpr int WorkDirectory = 56;
constexpr int BlockSize = 57;
constexpr int Segment = 58;
constexpr int SegmentStart = 59;
constexpr int SegmentEnd = 60;
constexpr int YourNumber = 61;
constexpr int Signature = 62;
constexpr int ChaosLevel = 63;
constexpr int TestMode = 64;
constexpr int Iconic = 65;
constexpr int IconicDigit = 66;
constexpr int FirstFinalDigit = 67;  // "1", "3", "7", "9" on lines 67..70
constexpr int FirstStartDigit = 71;  // "1".."9", "0" on lines 71..80
constexpr int AllowReturm = 81;
constexpr int OnSegment = 82;
constexpr int Phi = 83;
constexpr int Mersenne = 84;
constexpr int FixedLines = 84;
constexpr int HistoryCount = 85;
}  // namespace qdx

struct ParametersRecord {
    std::array<std::string, qdx::FixedLines + 1> line;  // index = line number; 0 unused
    std::vector<std::string> history;                  // oldest first

    std::string& tableEntry(int entry) { return line[static_cast<size_t>(qdx::FirstTableEntry - 1 + entry)]; }
    const std::string& tableEntry(int entry) const
    {
        return line[static_cast<size_t>(qdx::FirstTableEntry - 1 + entry)];
    }
};

// Writes the record to a temporary file beside path and renames it over path,
// so a full disk or a crash never leaves a cut file in place of the old one.
// On failure the old file is untouched and *error says why.
[[nodiscard]] bool writeParametersFile(const std::string& path, const ParametersRecord& record,
                                       std::string* error = nullptr);

enum class ReadResult { Read, CannotOpen, Empty };

// Reads records until the end of the file; a later record overwrites an
// earlier one, so record holds the last. Missing lines of a cut file read as
// empty texts. Lines 1..3 and the text fields are trimmed of blanks, the
// parameter table entries are taken as they stand.
ReadResult readParametersFile(const std::string& path, ParametersRecord& record);

}  // namespace storage
