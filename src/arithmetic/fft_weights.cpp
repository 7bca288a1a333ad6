#include "arithmetic/fft_weights.h"

#include <cmath>

namespace arithmetic::fft {

UnitRootTable::UnitRootTable(size_t count, long double angle, long double start)
{
    const size_t coarseCount = passBlocks(count);
    coarse_.resize(2 * coarseCount);
    fine_.resize(2 * kPassBlock);
    for (size_t a = 0; a < coarseCount; ++a) {
        long double turn = start + angle * static_cast<long double>(a * kPassBlock);
        coarse_[2 * a] = static_cast<double>(cosl(turn));
        coarse_[2 * a + 1] = static_cast<double>(sinl(turn));
    }
    for (size_t r = 0; r < kPassBlock; ++r) {
        long double turn = angle * static_cast<long double>(r);
        fine_[2 * r] = static_cast<double>(cosl(turn));
        fine_[2 * r + 1] = static_cast<double>(sinl(turn));
    }
}

IbdwtTables::IbdwtTables(uint64_t q, size_t length) : q_(q)
{
    const size_t coarseCount = passBlocks(length);
    const int64_t l = static_cast<int64_t>(length);
    auto restOf = [&](uint64_t k) {  // (-q k) mod L
        unsigned __int128 product = static_cast<unsigned __int128>(q) * k;
        int64_t r = static_cast<int64_t>(product % length);
        return r == 0 ? 0 : l - r;
    };
    auto power = [&](int64_t r, long double sign) {
        return static_cast<double>(std::exp2l(sign * static_cast<long double>(r) / static_cast<long double>(l)));
    };
    coarseRest_.resize(coarseCount);
    coarseWeight_.resize(coarseCount);
    coarseInverse_.resize(coarseCount);
    for (size_t a = 0; a < coarseCount; ++a) {
        coarseRest_[a] = restOf(a * kPassBlock);
        coarseWeight_[a] = power(coarseRest_[a], 1.0L);
        coarseInverse_[a] = power(coarseRest_[a], -1.0L);
    }
    fineRest_.resize(kPassBlock);
    fineWeight_.resize(kPassBlock);
    fineInverse_.resize(kPassBlock);
    for (size_t r = 0; r < kPassBlock; ++r) {
        fineRest_[r] = restOf(r);
        fineWeight_[r] = power(fineRest_[r], 1.0L);
        fineInverse_[r] = power(fineRest_[r], -1.0L);
    }
    shape_.length = length;
    shape_.carryLevels = carryLevelsFor(static_cast<int>(q / length));
    shape_.qModLength = static_cast<int64_t>(q % length);
    shape_.narrowBits = static_cast<int>(q / length);
    shape_.coarseRest = coarseRest_.data();
    shape_.fineRest = fineRest_.data();
    shape_.coarseWeight = coarseWeight_.data();
    shape_.fineWeight = fineWeight_.data();
    shape_.coarseInverse = coarseInverse_.data();
    shape_.fineInverse = fineInverse_.data();
}

int64_t IbdwtTables::rest(size_t k, bool& wrapped) const
{
    int64_t r = coarseRest_[k / kPassBlock] + fineRest_[k % kPassBlock];
    wrapped = r >= static_cast<int64_t>(shape_.length);
    return wrapped ? r - static_cast<int64_t>(shape_.length) : r;
}

uint64_t IbdwtTables::position(size_t k) const
{
    // ceil(q k / L) = (q k + r_k) / L.
    bool wrapped;
    int64_t r = rest(k, wrapped);
    unsigned __int128 top = static_cast<unsigned __int128>(q_) * k + static_cast<uint64_t>(r);
    return static_cast<uint64_t>(top / shape_.length);
}

int IbdwtTables::width(size_t k) const
{
    bool wrapped;
    return shape_.narrowBits + (rest(k, wrapped) < shape_.qModLength ? 1 : 0);
}

double IbdwtTables::weight(size_t k) const
{
    bool wrapped;
    rest(k, wrapped);
    double w = coarseWeight_[k / kPassBlock] * fineWeight_[k % kPassBlock];
    return wrapped ? w * 0.5 : w;
}

double IbdwtTables::inverseWeight(size_t k) const
{
    bool wrapped;
    rest(k, wrapped);
    double w = coarseInverse_[k / kPassBlock] * fineInverse_[k % kPassBlock];
    return wrapped ? w * 2.0 : w;
}

}  // namespace arithmetic::fft
