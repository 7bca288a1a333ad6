// The program's number-file reader keeps exactly the digit bytes of any file.
#include "fuzz_support.h"
#include "storage/number_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    std::string digits = "untouched";
    FUZZ_CHECK(storage::readNumberFile(fuzz::scratchFile(input), digits) == storage::NumberFileStatus::Read);
    FUZZ_CHECK(digits == fuzz::plainDigits(input));

    std::string inPlace(input);
    const size_t kept = storage::keepDigitBytes(inPlace.data(), inPlace.size());
    FUZZ_CHECK(inPlace.substr(0, kept) == digits);
    return 0;
}
