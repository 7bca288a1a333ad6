#pragma once
// The Lucas-Lehmer test, which proves a Mersenne number 2^q - 1 prime or
// composite.
#include <cstddef>
#include <cstdint>

#include <gmp.h>

#include "arithmetic/long_run.h"
#include "arithmetic/mersenne_numbers.h"

namespace arithmetic {

struct LucasLehmerOutcome {
    bool prime = false;
    uint64_t res64 = 0;  // low 64 bits of the last term
    double seconds = 0;
};

// Decides 2^q - 1 for a prime q: s(0) = 4, s(i+1) = s(i)^2 - 2, and 2^q - 1
// is prime exactly when s(q-2) = 0 modulo it.
//
// Guarded by the Jacobi check: for i >= 1, s(i) - 2 = 12 * U^2 for an
// integer U, and 2^q - 1 = 7 (mod 12) for odd q makes (3 | 2^q - 1) = -1, so
// the Jacobi symbol (s(i) - 2 | 2^q - 1) is -1 (or 0) on the true sequence.
// An error turns the residue into a random one, whose symbol is +1 about
// half the time: every check and checkpoint computes the symbol and rolls a
// +1 back to the last state that passed. It catches about half of the
// errors; the other half pass unseen. (The symbol of every later term is
// the same as that of the first wrong one, so checking again later does
// not catch more.)
//
// Checkpoints hold only a term that has just passed the check, with its
// fingerprint (residueFingerprint of the iteration and the term): a term or
// iteration changed after the check no longer matches and the checkpoint is
// refused; a resumed term is checked again. Stops on request like the
// checked powering (RunStopped), saving the current term if it passes.
LucasLehmerOutcome lucasLehmer(unsigned long q, const LongRunSettings& settings);

// Bytes the Lucas-Lehmer test of 2^q - 1 needs at most on `threads`
// threads (see fermatTestBytes).
size_t lucasLehmerBytes(unsigned long q, unsigned threads);

}  // namespace arithmetic
