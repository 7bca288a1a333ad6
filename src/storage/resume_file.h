#pragma once
// Search_bitmap.bit: what a stopped medium-number run leaves for the next one
// to continue from. A raw block of 125,000 bytes, then 13 CR LF lines: the
// seven counter field texts, counters 0..4, and the block size.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace storage {

inline constexpr const char* kResumeFile = "Search_bitmap.bit";
inline constexpr size_t kResumeBitmapBytes = 125'000;
// Above this a stored count is damage: no run reaches it, and counting on
// from it must stay far from the end of int64_t.
inline constexpr int64_t kLargestResumeCount = 999'999'999'999'999;

// The statistics of a generation run, in the order the file keeps them.
struct RunCounters {
    int64_t unused = 0;  // the first counter line: read and written back, never counted
    int64_t d1Hits = 0;  // candidates the first check rejected on D1, D2, D3
    int64_t d2Hits = 0;
    int64_t d3Hits = 0;
    int64_t externalChecks = 0;  // searches or tester checks

    // The hits of D1..D3 by level 1..3.
    int64_t& divisorHits(int level) { return level == 1 ? d1Hits : level == 2 ? d2Hits : d3Hits; }
    bool operator==(const RunCounters&) const = default;
};

struct ResumeState {
    std::vector<uint8_t> bitmap = std::vector<uint8_t>(kResumeBitmapBytes, 0);
    // Texts of "TOT", "Div1", "Div2", "Div3", "QTY", "PRP", "P~N" as shown.
    std::array<std::string, 7> fieldTexts;
    RunCounters counters;

    // TOT of the run: the leading integer of the "TOT" text, 0 when none,
    // within 0..kLargestResumeCount.
    int64_t total() const;
};

// False when the file could not be written completely.
[[nodiscard]] bool saveResumeFile(const std::string& path, const ResumeState& state, std::string* error = nullptr);

// Nothing when the file is missing, unreadable or shorter than the block, or
// when TOT or a counter is negative or above kLargestResumeCount. Lines
// missing at its end read as empty texts and zero counters; blanks around
// each line are dropped.
[[nodiscard]] std::optional<ResumeState> loadResumeFile(const std::string& path);

}  // namespace storage
