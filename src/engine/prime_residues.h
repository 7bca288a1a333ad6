#pragma once
// Residues of one large number modulo many small primes: what the candidate
// sieve of the prime searches and the tester's trial factoring need. The
// primes are packed into words (products of consecutive primes below 2^64:
// two primes below 2^32, one above), and the number is reduced modulo each
// word: directly while it is short, and once it is long through remainder
// trees, where it is reduced once modulo the product of a batch of words
// and the remainder is pushed down the batch's product tree, so that the
// long number is read once per batch instead of once per word.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <gmp.h>

namespace engine {

struct PrimeWords {
    std::vector<uint64_t> words;
    std::vector<size_t> firstPrime;  // index into primes of each word's first; one more entry than words
    std::vector<uint64_t> primes;
};

// primes ascending, each below 2^64.
PrimeWords packIntoWords(std::vector<uint64_t> primes);

// n mod each word (n >= 0, each word >= 2).
std::vector<uint64_t> residuesModuloWords(mpz_srcptr n, const std::vector<uint64_t>& words);

// From this many limbs of n on, the remainder trees beat one reduction of n
// per word (bench_next_prime --residues measures both).
size_t remainderTreeMinimumLimbs();

// The same residues by remainder trees whatever n's length (tests and the
// benchmark compare the two ways).
std::vector<uint64_t> residuesByRemainderTrees(mpz_srcptr n, const std::vector<uint64_t>& words);

// Calls visit(p, n mod p) for every prime of packed, given the residues of
// its words.
template <typename Visit>
void forEachPrimeResidue(const PrimeWords& packed, const std::vector<uint64_t>& wordResidues, Visit visit)
{
    for (size_t w = 0; w < packed.words.size(); ++w)
        for (size_t i = packed.firstPrime[w]; i < packed.firstPrime[w + 1]; ++i)
            visit(packed.primes[i], wordResidues[w] % packed.primes[i]);
}

}  // namespace engine
