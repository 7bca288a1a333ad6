// The parameters file: whatever a file holds, the record read from it is
// written and read back unchanged.
#include "fuzz_support.h"
#include "storage/parameters_record.h"

namespace {

bool sameRecord(const storage::ParametersRecord& a, const storage::ParametersRecord& b)
{
    return a.line == b.line && a.history == b.history;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    storage::ParametersRecord first;
    if (storage::readParametersFile(fuzz::scratchFile(fuzz::asText(data, size)), first) != storage::ReadResult::Read)
        return 0;
    // A line read never holds its line feed; the record is what SAVE could write.
    for (const std::string& line : first.line)
        FUZZ_CHECK(line.find('\n') == std::string::npos);

    const std::string path = fuzz::scratchFile({}, ".qdx");
    std::string error;
    FUZZ_CHECK(storage::writeParametersFile(path, first, &error));
    storage::ParametersRecord second;
    FUZZ_CHECK(storage::readParametersFile(path, second) == storage::ReadResult::Read);
    FUZZ_CHECK(sameRecord(first, second));
    return 0;
}
