#include "engine/prime_residues.h"

#include <cassert>

#include <algorithm>
#include <limits>

#include "engine/big_integer.h"

namespace engine {

namespace {

// Measured with bench_next_prime --residues (processor time per word, one
// thread, best of three, words of primes above 2^32): the trees against one
// reduction per word 1.01x at 250 limbs, 1.16x at 500, 1.74x at 1,000, 2.7x
// at 3,000, 5.9x at 12,000.
constexpr size_t kTreeFromLimbs = 400;
// Words per leaf of a product tree: a leaf residue of this many limbs is
// reduced by each of its words directly.
constexpr size_t kLeafWords = 16;

// The residues of n modulo words[first, last) by one remainder tree.
void residuesByTree(mpz_srcptr n, const std::vector<uint64_t>& words, size_t first, size_t last,
                    std::vector<uint64_t>& residues)
{
    const size_t leafCount = (last - first + kLeafWords - 1) / kLeafWords;
    auto leafEnd = [&](size_t leaf) { return std::min(last, first + (leaf + 1) * kLeafWords); };
    std::vector<std::vector<BigInt>> levels(1);
    levels[0].resize(leafCount);
    for (size_t leaf = 0; leaf < leafCount; ++leaf) {
        mpz_set_ui(levels[0][leaf].get(), 1);
        for (size_t w = first + leaf * kLeafWords; w < leafEnd(leaf); ++w)
            mpz_mul_ui(levels[0][leaf].get(), levels[0][leaf].get(), words[w]);
    }
    while (levels.back().size() > 1) {
        const std::vector<BigInt>& below = levels.back();
        std::vector<BigInt> above((below.size() + 1) / 2);
        for (size_t i = 0; i < above.size(); ++i) {
            if (2 * i + 1 < below.size())
                mpz_mul(above[i].get(), below[2 * i].get(), below[2 * i + 1].get());
            else
                above[i].set(below[2 * i]);
        }
        levels.push_back(std::move(above));
    }

    std::vector<BigInt> remainders(1);
    mpz_tdiv_r(remainders[0].get(), n, levels.back()[0].get());
    for (size_t level = levels.size() - 1; level-- > 0;) {
        const std::vector<BigInt>& nodes = levels[level];
        std::vector<BigInt> next(nodes.size());
        for (size_t i = 0; i < nodes.size(); ++i)
            mpz_tdiv_r(next[i].get(), remainders[i / 2].get(), nodes[i].get());
        remainders = std::move(next);
    }
    for (size_t leaf = 0; leaf < leafCount; ++leaf)
        for (size_t w = first + leaf * kLeafWords; w < leafEnd(leaf); ++w)
            residues[w] = mpz_tdiv_ui(remainders[leaf].get(), words[w]);
}

}  // namespace

PrimeWords packIntoWords(std::vector<uint64_t> primes)
{
    PrimeWords packed;
    uint64_t product = 1;
    for (size_t i = 0; i < primes.size(); ++i) {
        if (product > std::numeric_limits<uint64_t>::max() / primes[i]) {
            packed.words.push_back(product);
            product = 1;
        }
        if (product == 1)
            packed.firstPrime.push_back(i);
        product *= primes[i];
    }
    if (product != 1)
        packed.words.push_back(product);
    packed.firstPrime.push_back(primes.size());
    packed.primes = std::move(primes);
    return packed;
}

size_t remainderTreeMinimumLimbs() { return kTreeFromLimbs; }

std::vector<uint64_t> residuesByRemainderTrees(mpz_srcptr n, const std::vector<uint64_t>& words)
{
    assert(mpz_sgn(n) >= 0 && "residues of a non-negative number");
    std::vector<uint64_t> residues(words.size());
    // A batch whose product is about as long as n: one division of n then
    // does the most good, and a longer tree would only add levels.
    const size_t batch = std::max<size_t>(mpz_size(n), kLeafWords);
    for (size_t first = 0; first < words.size(); first += batch)
        residuesByTree(n, words, first, std::min(words.size(), first + batch), residues);
    return residues;
}

std::vector<uint64_t> residuesModuloWords(mpz_srcptr n, const std::vector<uint64_t>& words)
{
    assert(mpz_sgn(n) >= 0 && "residues of a non-negative number");
    if (mpz_size(n) >= kTreeFromLimbs)
        return residuesByRemainderTrees(n, words);
    std::vector<uint64_t> residues(words.size());
    for (size_t w = 0; w < words.size(); ++w)
        residues[w] = mpz_tdiv_ui(n, words[w]);
    return residues;
}

}  // namespace engine
