#pragma once
// The three divisor products D1, D2, D3 (products of the primes ranked
// 1..300,000, 300,001..580,000 and 580,001..850,000) and their file base.div:
// three decimal lines joined by LF, no line end after the third.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/big_integer.h"

namespace engine {

constexpr std::array<size_t, 3> kDivisorRankEnds = {300000, 580000, 850000};
constexpr const char* kDivisorFileName = "base.div";

struct DivisorProducts {
    BigInt d[3];
};

// First `count` primes, from a sieve.
std::vector<unsigned> firstPrimes(size_t count);

// Products of the ranked runs ending at rankEnds, built with a product tree.
// The three runs are multiplied in parallel.
void buildDivisorProducts(DivisorProducts& out, const std::array<size_t, 3>& rankEnds = kDivisorRankEnds);

// The same products the slow way: one nextprime and one multiplication per
// prime, as the file was first defined. Kept for tests and the benchmark.
void buildDivisorProductsLiterally(DivisorProducts& out, const std::array<size_t, 3>& rankEnds);

// Decimal texts of the three products, converted in parallel.
std::array<std::string, 3> divisorTexts(const DivisorProducts& products);

// Writes the three texts as base.div content. Returns false when the file
// cannot be written completely (nothing partial is left behind).
bool writeDivisorFile(const std::string& path, const std::array<std::string, 3>& texts);

// Reads the file and converts its three lines in parallel. Returns false when
// the file cannot be opened.
bool readDivisorFile(const std::string& path, DivisorProducts& out);

}  // namespace engine
