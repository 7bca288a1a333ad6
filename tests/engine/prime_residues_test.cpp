// Residues of a long number modulo words of primes: one reduction per word
// and the remainder trees against mpz_tdiv_ui, on both sides of the length
// where the trees take over and with batches and leaves cut short.
#include "engine/prime_residues.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/big_integer.h"
#include "engine/prime_tables.h"

using namespace engine;

namespace {

std::vector<uint64_t> primesAroundTwoTo32(size_t count)
{
    std::vector<uint64_t> primes = primesInRange(3, 3000);
    std::vector<uint64_t> high = primesInRange((uint64_t{1} << 32) - 40000, (uint64_t{1} << 32) + 22 * count);
    primes.insert(primes.end(), high.begin(), high.end());
    return primes;
}

}  // namespace

TEST(PrimeResidues, words_hold_every_prime_once_in_order_below_2_to_64)
{
    const std::vector<uint64_t> primes = primesAroundTwoTo32(5000);
    const PrimeWords packed = packIntoWords(primes);
    ASSERT_EQ(packed.firstPrime.size(), packed.words.size() + 1);
    EXPECT_EQ(packed.primes, primes);
    EXPECT_EQ(packed.firstPrime.front(), 0u);
    EXPECT_EQ(packed.firstPrime.back(), primes.size());
    for (size_t w = 0; w < packed.words.size(); ++w) {
        unsigned __int128 product = 1;
        for (size_t i = packed.firstPrime[w]; i < packed.firstPrime[w + 1]; ++i)
            product *= packed.primes[i];
        EXPECT_EQ(product, packed.words[w]) << "word " << w;
        EXPECT_LT(packed.firstPrime[w], packed.firstPrime[w + 1]);
    }
    EXPECT_GE(packed.firstPrime[1], 13u) << "3 * 5 * ... * 43 fits one word";
}

TEST(PrimeResidues, both_ways_give_each_words_residue)
{
    gmp_randstate_t random;
    gmp_randinit_mt(random);
    gmp_randseed_ui(random, 2024);
    const size_t treeFrom = remainderTreeMinimumLimbs();
    for (size_t limbs : {size_t{0}, size_t{1}, size_t{3}, size_t{40}, treeFrom - 1, treeFrom, 2 * treeFrom + 3}) {
        SCOPED_TRACE(limbs);
        BigInt n;
        mpz_urandomb(n.get(), random, 64 * limbs);
        // More words than one batch (as many words as n has limbs), and a
        // count no leaf size divides.
        const PrimeWords packed = packIntoWords(primesAroundTwoTo32(2 * limbs + 37));
        std::vector<uint64_t> expected(packed.words.size());
        for (size_t w = 0; w < packed.words.size(); ++w)
            expected[w] = mpz_tdiv_ui(n.get(), packed.words[w]);
        EXPECT_EQ(residuesModuloWords(n.get(), packed.words), expected);
        EXPECT_EQ(residuesByRemainderTrees(n.get(), packed.words), expected);
        std::vector<uint64_t> seen;
        forEachPrimeResidue(packed, expected, [&](uint64_t p, uint64_t r) {
            EXPECT_EQ(r, mpz_tdiv_ui(n.get(), p));
            seen.push_back(p);
        });
        EXPECT_EQ(seen, packed.primes);
    }
    gmp_randclear(random);
}
