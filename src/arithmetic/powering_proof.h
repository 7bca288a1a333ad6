#pragma once
// Proofs that y = b^E mod N was computed right, checked in a small part of
// the powering's time: Pietrzak's halving proof as generalised by Li and
// Gallot to any exponent computed left to right (one square per bit of E,
// then a multiply by b for a 1 bit).
//
// E (n bits) is padded with leading zeros to T = 2^P * L bits, L =
// ceil(n / 2^P), and cut into 2^P segments of L bits, E_0 the highest. With
// s_k the residue after the first k segments (s_0 = 1, s_(2^P) = y), each
// segment is one step of f_e(x) = x^(2^L) * b^e:  s_(k+1) = f_(E_k)(s_k).
// The powering hands the 2^P - 1 inner residues to a ProofRecorder as it
// passes them; at the end the prover halves the claim "y = x^(2^H) * b^e"
// P times. Level i sends the claim's midpoint mu_i, the challenge r_i comes
// from a SHA-256 of everything sent so far, and the claim becomes
//     x' = x^r * mu,   y' = mu^r * y,   e' = r * e_high + e_low,
// half as long. The verifier redoes the challenges and the P combinations
// and ends with one claim of L squarings: about 1/2^P of the powering plus
// 2P short exponentiations. Why a wrong y cannot pass, and what a cheating
// prover would have to do instead, is in the README of this folder.
#include <cstdint>
#include <string>
#include <vector>

#include <gmp.h>

#include "arithmetic/big_integer.h"
#include "arithmetic/checked_powering.h"

namespace arithmetic {

constexpr unsigned kMinProofPower = 1;
constexpr unsigned kMaxProofPower = 16;

// Where the proof's residues lie in the powering of an exponent of n bits.
class ProofLayout {
public:
    ProofLayout(unsigned power, uint64_t exponentBits);

    unsigned power() const { return power_; }
    uint64_t segments() const { return uint64_t(1) << power_; }
    uint64_t segmentBits() const { return segmentBits_; }            // L
    uint64_t paddingBits() const { return segments() * segmentBits_ - exponentBits_; }
    // The powering step (exponent bits done from the top) that ends segment
    // k - 1, i.e. where s_k is reached; 0 for the boundaries inside the
    // padding, where s_k = 1.
    uint64_t stepOf(uint64_t k) const;
    // The boundary 1 .. 2^P - 1 reached at that step, or 0 when none is.
    uint64_t boundaryAt(uint64_t step) const;

private:
    unsigned power_;
    uint64_t exponentBits_;
    uint64_t segmentBits_;
};

// A proof of y = base^E mod N for an E both sides know (N - 1 for the
// Fermat test): the result and the P midpoints.
struct PoweringProof {
    unsigned long base = 0;
    unsigned power = 0;
    BigInt result;
    std::vector<BigInt> midpoints;  // mu_1 .. mu_P
};

// Where the prover keeps the inner residues s_1 .. s_(2^P - 1) during the
// run, and the proof at its end (the tester: files beside the number file).
class ProofStore {
public:
    virtual ~ProofStore() = default;
    // False when it could not be kept (the run then goes on without a proof).
    virtual bool save(uint64_t boundary, mpz_srcptr residue) = 0;
    // False when missing or damaged.
    virtual bool load(uint64_t boundary, mpz_ptr residue) = 0;
    // Everything saved so far survives a crash from now on (saves may be
    // cached until then: a checkpoint that needs them calls this first).
    virtual void sync() {}
    // Keeps the finished proof; false when it could not.
    virtual bool saveProof(const PoweringProof& proof) = 0;
    // The residues are of no further use: the proof is kept or given up.
    virtual void removeResidues() = 0;
    virtual std::string name() const = 0;
};

// Takes the residues the proof needs from the checked powering.
class ProofRecorder final : public ResidueTap {
public:
    ProofRecorder(const ProofLayout& layout, ProofStore& store, mpz_srcptr n, RunReport& report);

    uint64_t nextStepAfter(uint64_t step) const override;
    void take(uint64_t step, mpz_srcptr residue) override;
    bool holdsUpTo(uint64_t step) override;
    void beforeCheckpoint() override { store_.sync(); }

    // False once a residue could not be kept: no proof can be built.
    bool complete() const { return !failed_; }

private:
    ProofLayout layout_;
    ProofStore& store_;
    mpz_srcptr n_;
    RunReport& report_;
    bool failed_ = false;
};

// Builds the proof from the stored residues, once the powering has given
// `result`. Throws std::runtime_error when a residue is missing or damaged.
// Cost: 2^P - P - 1 exponentiations by 65-bit challenges.
PoweringProof buildPoweringProof(ModularArithmetic& arithmetic, ProofStore& store, const ProofLayout& layout,
                                 unsigned long base, mpz_srcptr exponent, mpz_srcptr n, mpz_srcptr result);

struct ProofCheck {
    bool holds = false;
    std::string reason;  // why not, when it does not hold
};

// Checks the proof of base^exponent mod n = proof.result on up to `threads`
// threads. n odd, n > 1, exponent >= 1.
ProofCheck verifyPoweringProof(const PoweringProof& proof, mpz_srcptr exponent, mpz_srcptr n, unsigned threads);

}  // namespace arithmetic
