#pragma once
// A BIFF2 worksheet writer (the Excel 2.x stream: records of a u16 id, a u16
// data length and the data, little-endian). One open file at a time; every
// record routine writes its whole record with one system call and reports
// whether all bytes went out. With no file open a routine writes nothing and
// reports failure. No window.
#include <array>
#include <memory>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/atomic_file.h"

namespace storage {

// The three BIFF2 cell attribute bytes.
using CellAttributes = std::array<uint8_t, 3>;
namespace cell {
constexpr CellAttributes Heading = {0x00, 0x40, 0x02};    // font 1, centred
constexpr CellAttributes Text = {0x00, 0x40, 0x01};       // font 1, left
constexpr CellAttributes Statistic = {0x00, 0x5B, 0x03};  // font 1, format 27, right
constexpr CellAttributes Count = {0x00, 0x41, 0x03};      // font 1, format 1, right
}  // namespace cell

class Biff2Writer {
public:
    Biff2Writer() = default;
    ~Biff2Writer();
    Biff2Writer(const Biff2Writer&) = delete;
    Biff2Writer& operator=(const Biff2Writer&) = delete;

    // Starts a new file for path holding BOF, the two Courier
    // New fonts, FORMATCOUNT and the 28 FORMAT records.
    [[nodiscard]] bool beginFile(const std::string& path);
    [[nodiscard]] bool printGridlines(bool on);
    [[nodiscard]] bool columnWidth(uint8_t firstColumn, uint8_t lastColumn, uint16_t widthInCharacters);
    // Text of at most 255 bytes (longer text is cut: the length is one byte).
    [[nodiscard]] bool label(std::string_view text, uint16_t row, uint16_t column, CellAttributes attributes);
    [[nodiscard]] bool number(double value, uint16_t row, uint16_t column, CellAttributes attributes);
    [[nodiscard]] bool font(uint16_t heightTwips, bool bold, std::string_view name);
    // Writes EOF and puts the file in the place of any old one; until then,
    // and when anything failed, the old file stays as it was.
    [[nodiscard]] bool endFile();

    bool isOpen() const { return file_ != nullptr; }

private:
    bool record(uint16_t id, const void* head, size_t headSize, std::string_view tail = {});

    std::unique_ptr<AtomicFile> file_;
};

// The 28 number formats, index 0..27, as the file holds them.
const std::array<std::string_view, 28>& biff2Formats();

}  // namespace storage
