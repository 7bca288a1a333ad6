#pragma once
// verify-proof: a Fermat test's proof file (the tester's -proof P) checked
// against the number it claims to be about.
#include <cstdint>
#include <string>

#include "engine/big_integer.h"

namespace cli {

struct ProofFileVerdict {
    bool holds = false;
    std::string reason;       // why not, when it does not hold
    unsigned long base = 0;
    unsigned power = 0;
    bool probablePrime = false;  // the proven residue is 1
    uint64_t res64 = 0;          // low 64 bits of the proven residue
};

// The number file a proof file was made beside: "<file>.b<base>.proof"
// gives "<file>"; empty when the name is not of that form.
std::string numberFileOfProof(const std::string& proofPath);

// Reads and checks the proof of n. Throws BadInput when the file cannot be
// read, is not a proof, is cut or damaged, or names another number;
// otherwise says whether the proof holds.
ProofFileVerdict verifyProofFile(const std::string& proofPath, const engine::BigInt& n, unsigned threads);

}  // namespace cli
