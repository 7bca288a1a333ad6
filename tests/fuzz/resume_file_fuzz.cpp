// The resume file: a state loaded from any file saves and loads back the
// same, keeps its counts in range, and a refused file is refused again.
#include "fuzz_support.h"
#include "storage/resume_file.h"

namespace {

bool sameState(const storage::ResumeState& a, const storage::ResumeState& b)
{
    return a.bitmap == b.bitmap && a.fieldTexts == b.fieldTexts && a.counters == b.counters;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Inputs are the text after the bitmap: the block itself is raw bytes that
    // are copied and never read, and a short file is refused before them.
    std::string bytes(storage::kResumeBitmapBytes, '\0');
    bytes.append(fuzz::asText(data, size));
    const std::string path = fuzz::scratchFile(bytes);
    const std::optional<storage::ResumeState> first = storage::loadResumeFile(path);
    if (!first) {
        FUZZ_CHECK(!storage::loadResumeFile(path));
        return 0;
    }
    FUZZ_CHECK(first->total() >= 0 && first->total() <= storage::kLargestResumeCount);
    const storage::RunCounters& c = first->counters;
    for (int64_t counter : {c.unused, c.d1Hits, c.d2Hits, c.d3Hits, c.externalChecks})
        FUZZ_CHECK(counter >= 0 && counter <= storage::kLargestResumeCount);

    const std::string copy = fuzz::scratchFile({}, ".bit");
    FUZZ_CHECK(storage::saveResumeFile(copy, *first));
    const std::optional<storage::ResumeState> second = storage::loadResumeFile(copy);
    FUZZ_CHECK(second && sameState(*first, *second));
    return 0;
}
