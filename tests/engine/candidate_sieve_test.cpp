// The candidate sieve against division: every offset it strikes has a
// sieving prime dividing its candidate and every other offset has none, in
// both directions, with one residue per word and with the remainder trees,
// on several threads and split into shares.
#include "engine/candidate_sieve.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "engine/big_integer.h"
#include "engine/prime_residues.h"
#include "engine/prime_tables.h"

using namespace engine;

namespace {

// The marks worked out one prime and one offset at a time.
std::vector<uint8_t> marksByDivision(const BigInt& base, SearchDirection direction, uint32_t count, uint64_t depth)
{
    std::vector<uint8_t> marks(count, 0);
    for (uint64_t p : primesInRange(3, depth + 1)) {
        const uint64_t r = mpz_tdiv_ui(base.get(), p);
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t step = (2 * uint64_t{i}) % p;
            const uint64_t candidate = direction == SearchDirection::Up ? (r + step) % p : (r + p - step) % p;
            marks[i] |= candidate == 0;
        }
    }
    return marks;
}

BigInt oddNumber(size_t bits, unsigned long seed)
{
    gmp_randstate_t random;
    gmp_randinit_mt(random);
    gmp_randseed_ui(random, seed);
    BigInt n;
    mpz_urandomb(n.get(), random, bits);
    mpz_setbit(n.get(), bits - 1);
    mpz_setbit(n.get(), 0);
    gmp_randclear(random);
    return n;
}

}  // namespace

TEST(CandidateSieve, marks_are_the_offsets_a_sieving_prime_divides)
{
    // 600 bits: one residue per word; past the trees' length: remainder trees.
    const size_t treeBits = 64 * remainderTreeMinimumLimbs() + 100;
    for (size_t bits : {size_t{600}, treeBits}) {
        const BigInt base = oddNumber(bits, bits);
        for (SearchDirection direction : {SearchDirection::Up, SearchDirection::Down}) {
            const std::vector<uint8_t> expected = marksByDivision(base, direction, 700, 30000);
            for (unsigned threads : {1u, 3u}) {
                SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(threads) + " threads, " +
                             (direction == SearchDirection::Up ? "up" : "down"));
                SieveSettings settings;
                settings.threads = threads;
                EXPECT_EQ(sieveMarks(base, direction, 700, 30000, settings), expected);
            }
        }
    }
}

// The processes of a distributed search each sieve by a share of the prime
// ranges; their marks together are those of one process doing all.
TEST(CandidateSieve, shares_together_mark_what_one_process_marks)
{
    const BigInt base = oddNumber(2000, 7);
    const uint64_t depth = 5'000'000;  // several ranges per share
    SieveSettings whole;
    whole.threads = 2;
    std::atomic<uint64_t> primesDone{0};
    whole.primesDone = &primesDone;
    const std::vector<uint8_t> expected = sieveMarks(base, SearchDirection::Up, 5000, depth, whole);
    EXPECT_EQ(primesDone.load(), primesInRange(3, depth + 1).size()) << "every odd prime up to the depth, once";
    for (uint32_t shares : {2u, 3u}) {
        std::vector<uint8_t> combined(5000, 0);
        uint64_t primesOfShares = 0;
        for (uint32_t share = 0; share < shares; ++share) {
            SieveSettings part;
            part.share = share;
            part.shares = shares;
            std::atomic<uint64_t> done{0};
            part.primesDone = &done;
            const std::vector<uint8_t> marks = sieveMarks(base, SearchDirection::Up, 5000, depth, part);
            for (size_t i = 0; i < marks.size(); ++i)
                combined[i] |= marks[i];
            primesOfShares += done;
        }
        EXPECT_EQ(combined, expected) << shares << " shares";
        EXPECT_EQ(primesOfShares, primesDone.load()) << shares << " shares";
    }
    EXPECT_EQ(unstruck(expected), sieveCandidates(base, SearchDirection::Up, 5000, depth, 2));
}
