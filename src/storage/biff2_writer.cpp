#include "storage/biff2_writer.h"

#include <cstring>

namespace storage {

namespace {

enum RecordId : uint16_t {
    Number = 0x0003,
    Label = 0x0004,
    Bof = 0x0009,
    Eof = 0x000A,
    Format = 0x001E,
    FormatCount = 0x001F,
    ColumnWidth = 0x0024,
    PrintGridlines = 0x002B,
    Font = 0x0031,
};

// BOF: BIFF version 2, stream type worksheet (0x0010). Readers that check the
// type refuse any other value, among them the 0x000A that is sometimes seen.
constexpr uint16_t kBiffVersion = 0x0002;
constexpr uint16_t kWorksheetStream = 0x0010;
// The count field says 27 although 28 FORMAT records follow, as readers of
// these files have always been given.
constexpr uint16_t kFormatCountField = 27;
constexpr uint16_t kFontHeightTwips = 180;  // 9 points

void put16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

const std::array<std::string_view, 28>& biff2Formats()
{
    static const std::array<std::string_view, 28> formats = {
        "General",
        "0",
        "0.00",
        "#,##0",
        "#,##0.00",
        R"(#,##0\ "$";\-#,##0\ "$")",
        R"(#,##0\ "$";[Red]\-#,##0\ "$")",
        R"(#,##0.00\ "$";\-#,##0.00\ "$")",
        R"(#,##0.00\ "$";[Red]\-#,##0.00\ "$")",
        "0%",
        "0.00%",
        "0.00E+00",
        "yyyy-mm-dd",
        R"(dd/\ mmm\ yy)",
        R"(dd/\ mmm)",
        R"(mmm\ yy)",
        R"(h:mm\ AM/PM)",
        R"(h:mm:ss\ AM/PM)",
        "hh:mm",
        "hh:mm:ss",
        R"(dd/mm/yy\ hh:mm)",
        "##0.0E+0",
        "mm:ss",
        "@",
        "00",
        "000",
        "00000",
        "00",
    };
    return formats;
}

Biff2Writer::~Biff2Writer() = default;

bool Biff2Writer::record(uint16_t id, const void* head, size_t headSize, std::string_view tail)
{
    if (!file_)
        return false;
    char header[4];
    put16(reinterpret_cast<uint8_t*>(header), id);
    put16(reinterpret_cast<uint8_t*>(header + 2), static_cast<uint16_t>(headSize + tail.size()));
    bool ok = file_->write({header, sizeof header});
    if (headSize > 0)
        ok = file_->write({static_cast<const char*>(head), headSize}) && ok;
    return file_->write(tail) && ok;
}

bool Biff2Writer::beginFile(const std::string& path)
{
    file_ = std::make_unique<AtomicFile>(path);
    if (!file_->isOpen()) {
        file_.reset();
        return false;
    }

    uint8_t bof[4];
    put16(bof, kBiffVersion);
    put16(bof + 2, kWorksheetStream);
    bool ok = record(Bof, bof, sizeof bof);
    // The fonts come first, as in the worksheets Excel writes itself: every
    // cell refers to font 1, which must exist before the first cell.
    ok = font(kFontHeightTwips, false, "Courier New") && ok;
    ok = font(kFontHeightTwips, true, "Courier New") && ok;
    uint8_t count[2];
    put16(count, kFormatCountField);
    ok = record(FormatCount, count, sizeof count) && ok;
    for (std::string_view format : biff2Formats()) {
        uint8_t length = static_cast<uint8_t>(format.size());
        ok = record(Format, &length, 1, format) && ok;
    }
    return ok;
}

bool Biff2Writer::printGridlines(bool on)
{
    uint8_t data[2];
    put16(data, on ? 1 : 0);
    return record(PrintGridlines, data, sizeof data);
}

bool Biff2Writer::columnWidth(uint8_t firstColumn, uint8_t lastColumn, uint16_t widthInCharacters)
{
    uint8_t data[4] = {firstColumn, lastColumn};
    put16(data + 2, static_cast<uint16_t>(widthInCharacters * 256));
    return record(ColumnWidth, data, sizeof data);
}

bool Biff2Writer::label(std::string_view text, uint16_t row, uint16_t column, CellAttributes attributes)
{
    if (text.size() > 255)
        text = text.substr(0, 255);
    uint8_t data[8];
    put16(data, row);
    put16(data + 2, column);
    std::memcpy(data + 4, attributes.data(), 3);
    data[7] = static_cast<uint8_t>(text.size());
    return record(Label, data, sizeof data, text);
}

bool Biff2Writer::number(double value, uint16_t row, uint16_t column, CellAttributes attributes)
{
    static_assert(sizeof(double) == 8, "IEEE 754 double expected");
    uint8_t data[15];
    put16(data, row);
    put16(data + 2, column);
    std::memcpy(data + 4, attributes.data(), 3);
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int i = 0; i < 8; ++i)
        data[7 + i] = static_cast<uint8_t>(bits >> (8 * i));
    return record(Number, data, sizeof data);
}

bool Biff2Writer::font(uint16_t heightTwips, bool bold, std::string_view name)
{
    uint8_t data[5];
    put16(data, heightTwips);
    put16(data + 2, bold ? 0x0001 : 0x0000);
    data[4] = static_cast<uint8_t>(name.size());
    return record(Font, data, sizeof data, name);
}

bool Biff2Writer::endFile()
{
    bool ok = record(Eof, nullptr, 0);
    ok = file_ && file_->commit() && ok;
    file_.reset();
    return ok;
}

}  // namespace storage
