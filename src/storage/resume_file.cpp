#include "storage/resume_file.h"

#include <filesystem>
#include <fstream>

#include "engine/checked_integer.h"
#include "storage/atomic_file.h"

namespace storage {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string trimmed(const std::string& line)
{
    const char* blanks = " \t\r\n";
    size_t first = line.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = line.find_last_not_of(blanks);
    return line.substr(first, last - first + 1);
}

std::string nextLine(std::istream& in)
{
    std::string line;
    std::getline(in, line);
    return trimmed(line);
}

}  // namespace

int64_t ResumeState::total() const
{
    return engine::leadingIntegerClamped(fieldTexts[0], {0, kLargestResumeCount});
}

bool saveResumeFile(const std::string& path, const ResumeState& state, std::string* error)
{
    std::string content(reinterpret_cast<const char*>(state.bitmap.data()), state.bitmap.size());
    for (const std::string& text : state.fieldTexts)
        content += text + kLineEnd;
    const RunCounters& c = state.counters;
    for (int64_t counter : {c.unused, c.d1Hits, c.d2Hits, c.d3Hits, c.externalChecks})
        content += std::to_string(counter) + kLineEnd;
    content += std::to_string(state.bitmap.size()) + kLineEnd;
    return writeFileAtomically(path, content, error);
}

std::optional<ResumeState> loadResumeFile(const std::string& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size < kResumeBitmapBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;

    ResumeState state;
    if (!in.read(reinterpret_cast<char*>(state.bitmap.data()), static_cast<std::streamsize>(kResumeBitmapBytes)))
        return std::nullopt;
    for (std::string& text : state.fieldTexts)
        text = nextLine(in);
    // TOT and the counters go on counting from here: a count no run could
    // have reached, or a negative one, marks the file as damaged.
    constexpr engine::IntegerRange kCounts{0, kLargestResumeCount};
    if (!engine::leadingIntegerIn(state.fieldTexts[0], kCounts))
        return std::nullopt;
    RunCounters& c = state.counters;
    for (int64_t* counter : {&c.unused, &c.d1Hits, &c.d2Hits, &c.d3Hits, &c.externalChecks}) {
        const std::optional<int64_t> count = engine::leadingIntegerIn(nextLine(in), kCounts);
        if (!count)
            return std::nullopt;
        *counter = *count;
    }
    (void)nextLine(in);  // the block size: always the fixed one
    return state;
}

}  // namespace storage
