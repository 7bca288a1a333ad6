#pragma once
// A random source that returns chosen values in order (the low end of the
// range once they run out) and records the range of every draw.
#include <deque>
#include <utility>
#include <vector>

#include "engine/random_source.h"

class ScriptedRandom : public engine::RandomSource {
public:
    explicit ScriptedRandom(std::deque<int64_t> values = {}) : values_(std::move(values)) {}

    int64_t draw(int64_t low, int64_t high) override
    {
        ranges.emplace_back(low, high);
        if (values_.empty())
            return low;
        int64_t value = values_.front();
        values_.pop_front();
        return value;
    }

    std::vector<std::pair<int64_t, int64_t>> ranges;

private:
    std::deque<int64_t> values_;
};
