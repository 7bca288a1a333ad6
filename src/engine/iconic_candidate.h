#pragma once
// Iconic candidates: one repeated digit followed by a short random tail of
// fixed width. A bitmap of the tails drawn keeps a run from trying a tail twice.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/random_source.h"

namespace engine {

// Digits of floor(n * 2.303): the width of the random tail.
int iconicTailWidth(int64_t n);

class IconicCandidates {
public:
    static constexpr size_t kBitmapBytes = 125'000;

    // digit is '0'..'9'; finalDigits is the non-empty set of final digits.
    IconicCandidates(int64_t n, char digit, std::string finalDigits);

    // One attempt: a new candidate of n digits, or nothing when the drawn tail
    // was tried before (the duplicate count goes up; the caller draws again).
    std::optional<std::string> next(engine::RandomSource& random);

    // Every tail of the run has been tried: further draws would only repeat.
    bool exhausted() const { return recorded_ == tailCount(); }

    // 8 and 9 search downwards from the candidate, the other digits upwards.
    bool searchesDownwards() const { return digit_ == '8' || digit_ == '9'; }

    int64_t duplicates() const { return duplicates_; }
    const std::string& prefix() const { return prefix_; }
    int tailWidth() const { return tailWidth_; }
    int64_t tailMaximum() const { return tailMaximum_; }

private:
    int64_t tailCount() const { return tailMaximum_ * static_cast<int64_t>(finalDigits_.size()); }

    char digit_;
    std::string finalDigits_;
    int tailWidth_;
    int64_t tailMaximum_;
    std::string prefix_;
    std::vector<uint8_t> bitmap_;
    int64_t recorded_ = 0;
    int64_t duplicates_ = 0;
};

}  // namespace engine
