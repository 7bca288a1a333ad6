// The program's readers of outside files: the digits read block by block are
// exactly the digit bytes of the file, and the whole file reads back as it is.
#include "engine/decimal_text.h"
#include "fuzz_support.h"
#include "storage/whole_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    const std::string path = fuzz::scratchFile(input);
    std::string digits = "untouched";
    FUZZ_CHECK(storage::readDigitsOfFile(path, digits) == storage::FileReadStatus::Read);
    FUZZ_CHECK(digits == fuzz::plainDigits(input));

    std::string whole;
    FUZZ_CHECK(storage::readWholeFile(path, whole) == storage::FileReadStatus::Read);
    FUZZ_CHECK(whole == input);

    std::string inPlace(input);
    FUZZ_CHECK(engine::digitsFilter(inPlace) == static_cast<int64_t>(digits.size()) && inPlace == digits);
    return 0;
}
