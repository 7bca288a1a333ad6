#pragma once
// Fermat probable-prime test: n passes to base b when b^(n-1) = 1 (mod n).
#include <cstddef>
#include <cstdint>

#include <gmp.h>

#include "arithmetic/long_run.h"

namespace arithmetic {

struct FermatOutcome {
    bool probablePrime = false;
    uint64_t res64 = 0;  // low 64 bits of b^(n-1) mod n
    double seconds = 0;
    bool checked = false;  // ran on the registers under the Gerbicz check, with checkpoints
    bool proofKept = false;  // a proof was asked for and is in its store
    // The proof could not be written: its residues stay, and the caller
    // should keep the checkpoint, so that a rerun makes it.
    bool proofRetryable = false;
};

// n must be at least 2. When n divides the base the test says nothing, so
// such an n (at most the base, hence small) is decided exactly instead.
// Long tests run on residue registers under the Gerbicz check, with
// checkpoints and progress lines; short ones are one mpz_powm. With a proof
// power in the settings, the test runs on the registers at any size, keeps
// the proof's residues in the settings' proof store as it passes them, and
// at the end builds the proof and hands it to the store
// (powering_proof.h); a proof that cannot be built or kept is reported and
// the test's outcome stands.
FermatOutcome fermatTest(mpz_srcptr n, unsigned long base, const LongRunSettings& settings);

// Bytes the Fermat test of n needs at most on `threads` threads, n itself
// not counted: so that a caller can refuse a test that cannot fit before
// it starts.
size_t fermatTestBytes(mpz_srcptr n, unsigned threads);

}  // namespace arithmetic
