#pragma once
// The weights of the weighted transforms as two small tables each (a
// coarse one per block of kPassBlock positions and a fine one within a
// block), so that a pass reads no weight array as long as its data: at a
// million digits a full table would be one more 1.4 MB stream per pass.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "arithmetic/fft_passes.h"

namespace arithmetic::fft {

// u^j = exp(i (start + angle j)) for j < count: the right-angle weights of
// a negacyclic product of length M (angle pi / M, H of them), the twiddles
// of the cyclic products (angle -2 pi / H) and of a transform's split into
// two halves.
class UnitRootTable {
public:
    UnitRootTable() = default;
    UnitRootTable(size_t count, long double angle, long double start = 0.0L);
    TwoLevelTable view() const { return {coarse_.data(), fine_.data()}; }

private:
    std::vector<double> coarse_, fine_;
};

// The IBDWT of 2^q - 1 on L positions (see IbdwtShape).
class IbdwtTables {
public:
    IbdwtTables() = default;
    IbdwtTables(uint64_t q, size_t length);
    const IbdwtShape& shape() const { return shape_; }

    // Per position, for set() and get(): the first bit of digit k, its
    // width, its weight and the weight's inverse (the same products the
    // passes use).
    uint64_t position(size_t k) const;
    int width(size_t k) const;
    double weight(size_t k) const;
    double inverseWeight(size_t k) const;

private:
    int64_t rest(size_t k, bool& wrapped) const;

    uint64_t q_ = 0;
    IbdwtShape shape_;
    std::vector<int64_t> coarseRest_, fineRest_;
    std::vector<double> coarseWeight_, fineWeight_, coarseInverse_, fineInverse_;
};

}  // namespace arithmetic::fft
