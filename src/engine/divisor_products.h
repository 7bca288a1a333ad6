#pragma once
// The three divisor products D1, D2, D3 (products of the primes ranked
// 1..300,000, 300,001..580,000 and 580,001..850,000) that the first check
// divides by. Their file, base.div, is read and written by the storage layer.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/big_integer.h"

namespace engine {

constexpr std::array<size_t, 3> kDivisorRankEnds = {300000, 580000, 850000};
// Decimal digits of D1, D2, D3: products read back from a file that do not
// have them come from a damaged file (for instance one cut short).
constexpr std::array<size_t, 3> kDivisorProductDigits = {1847516, 1903908, 1898410};

struct DivisorProducts {
    BigInt d[3];
};

// Products of the ranked runs ending at rankEnds, built with a product tree.
// The three runs are multiplied in parallel.
void buildDivisorProducts(DivisorProducts& out, const std::array<size_t, 3>& rankEnds = kDivisorRankEnds);

// The same products the slow way: one nextprime and one multiplication per
// prime, as the file was first defined. Kept for tests and the benchmark.
void buildDivisorProductsLiterally(DivisorProducts& out, const std::array<size_t, 3>& rankEnds);

// Decimal texts of the three products, converted in parallel.
std::array<std::string, 3> divisorTexts(const DivisorProducts& products);

// True when the three products have the digit counts of the full build.
bool hasExpectedShape(const DivisorProducts& products);

}  // namespace engine
