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

struct ResumeState {
    std::vector<uint8_t> bitmap = std::vector<uint8_t>(kResumeBitmapBytes, 0);
    // Texts of "TOT", "Div1", "Div2", "Div3", "QTY", "PRP", "P~N" as shown.
    std::array<std::string, 7> fieldTexts;
    std::array<int64_t, 5> counters{};

    // TOT of the run: the leading integer of the "TOT" text, 0 when none,
    // within 0..kLargestResumeCount.
    int64_t total() const;
};

// False when the file could not be written completely.
bool saveResumeFile(const std::string& path, const ResumeState& state);

// Nothing when the file is missing, unreadable or shorter than the block, or
// when TOT or a counter is negative or above kLargestResumeCount. Lines
// missing at its end read as empty texts and zero counters; blanks around
// each line are dropped.
std::optional<ResumeState> loadResumeFile(const std::string& path);

}  // namespace storage
