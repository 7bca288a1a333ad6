#pragma once
// b^E mod N on residue registers, guarded by the Gerbicz-Li check and saved
// to checkpoints along the way, for long Fermat tests.
//
// E is processed from its top in blocks of L bits (the top block padded
// with leading zero bits, so that the powering starts from x = 1 and the
// check covers every step): x(i+1) = x(i)^(2^L) * b^e(i), e(i) being the
// block's value, each bit one square and, for a 1 bit, one
// multiplySmall(b). Over a period of blocks starting from a verified x(p),
// d = x(p) * x(p+1) * ... (the block starts). Since each block start is the
// previous one raised to 2^L times b^e, the product of the starts one block
// further on satisfies
//     d * x(next) == x(p) * d^(2^L) * b^(sum of the period's e(i)),
// which a flipped bit or a wrong carry anywhere in the period breaks. On a
// mismatch the period is redone from x(p).
//
// The verified x(p) carries a fingerprint taken when the check passed
// (residueFingerprint); it is compared before x(p) is used again, for a
// redo or in a checkpoint. A checkpoint may be taken after any step: it
// holds x(p) with its fingerprint and the state since, which the period's
// check covers after a resume. A stop request (LongRunSettings::stop) is
// looked at after every step: the state is saved and RunStopped thrown.
//
// Cost, with n = the bits of E: L = sqrt(n) and periods of L/4 blocks, so
// about four checks a run (a detected error costs at most a quarter of the
// run again). Per period of L^2/4 squarings: L/4 multiplies for d and one
// check of L squarings (the b^S part rides along as multiplySmall), so the
// overhead is (1/4 + 1)/(L/4) = 5/L of the run: 1.6 % at 100,000 bits,
// 0.3 % at 3.3 million (a million digits).
#include <cstdint>
#include <string>

#include <gmp.h>

#include "arithmetic/checkpoint.h"
#include "arithmetic/long_run.h"
#include "arithmetic/modular_arithmetic.h"

namespace arithmetic {

struct PoweringLayout {
    uint64_t blockBits = 0;      // L
    uint64_t periodBlocks = 0;   // blocks between checks
};

// L and the period for an exponent of that many bits.
PoweringLayout poweringLayout(size_t exponentBits);

// The hook through which a caller gets copies of the running residue at
// steps of its choice (a step: one exponent bit done, from the top), as a
// proof needs them. A residue handed over belongs to a stretch the Gerbicz
// check has not yet passed: when the check fails, the stretch is redone and
// the residues in it are handed over again, so the last copy of a step is
// the right one.
class ResidueTap {
public:
    virtual ~ResidueTap() = default;
    // The first step after `step` whose residue is wanted; UINT64_MAX: none.
    virtual uint64_t nextStepAfter(uint64_t step) const = 0;
    virtual void take(uint64_t step, mpz_srcptr residue) = 0;
    // A checkpoint at `step` is about to be resumed: true when every residue
    // wanted up to that step is still kept; false makes the run start over.
    virtual bool holdsUpTo(uint64_t step) = 0;
    // A checkpoint is about to be saved: what was taken so far must survive
    // a crash from now on.
    virtual void beforeCheckpoint() = 0;
};

// result = base^exponent mod N, exponent >= 1, with N the arithmetic's
// modulus. Resumes from and saves to checkpoints when they are enabled;
// reports to the settings' report, label naming the loop. Throws
// std::runtime_error when the check keeps failing on the same period (a
// fault that redoing does not cure) or a verified residue changed in
// memory, RunStopped when stopped on request, RunAbandoned when the
// settings' abandon flag is raised (within one step). A tap, when given,
// gets the residues it asks for.
void checkedPower(ModularArithmetic& arithmetic, unsigned long base, mpz_srcptr exponent, mpz_srcptr n,
                  CheckpointStore& checkpoints, const LongRunSettings& settings, const std::string& label,
                  mpz_ptr result, ResidueTap* tap = nullptr);

}  // namespace arithmetic
