#pragma once
// The program's uniform random source, seeded once with 1959 at start-up.
#include <cstdint>
#include <random>

namespace engine {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // An integer from low to high inclusive, every value equally likely.
    virtual int64_t draw(int64_t low, int64_t high) = 0;
};

class SeededRandomSource : public RandomSource {
public:
    static constexpr uint64_t kSeed = 1959;
    SeededRandomSource() : engine_(kSeed) {}
    // Another seed, for runs that must be reproducible from a seed of their own.
    explicit SeededRandomSource(uint64_t seed) : engine_(seed) {}
    int64_t draw(int64_t low, int64_t high) override
    {
        return std::uniform_int_distribution<int64_t>(low, high)(engine_);
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace engine
