#pragma once
// The challenges of a powering proof, made non-interactive (Fiat-Shamir):
// each is drawn from a SHA-256 of everything the prover has committed to so
// far, so the prover cannot know a challenge before fixing what it answers,
// and the verifier redraws the same ones.
//
// The chain starts from the claim (the modulus, the base, the exponent, the
// result, the proof's power) and takes in one midpoint per level.
#include <cstdint>
#include <string>

#include <gmp.h>

#include "arithmetic/sha256.h"

namespace arithmetic {

// The bytes of a residue as hashed and stored: big-endian, left-padded with
// zeros to `width` bytes (the modulus's byte length).
std::string residueBytes(mpz_srcptr value, size_t width);
size_t byteLength(mpz_srcptr n);

class ProofChallenges {
public:
    ProofChallenges(mpz_srcptr n, unsigned long base, mpz_srcptr exponent, mpz_srcptr result, unsigned power);

    // Takes in the next midpoint and sets r to its challenge: an even number
    // 2 .. 2^65, twice one of 2^64 values drawn from the hash. Even, so that
    // -1 (the element of small order everyone knows) cannot carry a wrong
    // residue past a level: (-1)^r = 1.
    void next(mpz_srcptr midpoint, mpz_ptr r);

private:
    size_t residueBytes_;
    Sha256Digest chain_{};
};

}  // namespace arithmetic
