// The spreadsheet writer: whatever rows it is given, the file is a chain of
// BIFF2 records whose lengths fit the file, starting with BOF and ending with
// EOF, and every label keeps at most 255 bytes.
#include <fstream>
#include <sstream>

#include "fuzz_support.h"
#include "storage/biff2_writer.h"

namespace {

constexpr uint16_t kBof = 0x0009;
constexpr uint16_t kEof = 0x000A;

uint16_t u16(const std::string& bytes, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

void walkRecords(const std::string& file)
{
    size_t at = 0;
    uint16_t id = 0;
    bool first = true;
    while (at < file.size()) {
        FUZZ_CHECK(at + 4 <= file.size());
        id = u16(file, at);
        const size_t length = u16(file, at + 2);
        FUZZ_CHECK(at + 4 + length <= file.size());
        FUZZ_CHECK(!first || id == kBof);
        first = false;
        at += 4 + length;
    }
    FUZZ_CHECK(id == kEof && u16(file, file.size() - 2) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Rows of the input split at line feeds; a first byte picks number or label.
    const std::string path = fuzz::scratchFile({}, ".xls");
    storage::Biff2Writer writer;
    FUZZ_CHECK(writer.beginFile(path));
    FUZZ_CHECK(writer.printGridlines(true) && writer.columnWidth(0, 3, 20));
    const std::string_view input = fuzz::asText(data, size);
    uint16_t row = 0;
    size_t begin = 0;
    while (begin < input.size() && row < 2000) {
        const size_t end = std::min(input.find('\n', begin), input.size());
        const std::string_view cell = input.substr(begin, end - begin);
        if (!cell.empty() && cell.front() == '#')
            FUZZ_CHECK(writer.number(static_cast<double>(cell.size()) / 3.0, row, 1, storage::cell::Count));
        else
            FUZZ_CHECK(writer.label(cell, row, 0, storage::cell::Text));
        ++row;
        begin = end + 1;
    }
    FUZZ_CHECK(writer.endFile());

    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    walkRecords(all.str());
    return 0;
}
