#pragma once
// The bytes of a Fermat test's proof file (a proof of base^(N-1) mod N):
//
//     quendrolt fermat proof 1
//     number bits=<bits> fnv1a=<hash of the limbs> low=<low limb>
//     base <b>
//     power <P>
//     residue-bytes <bytes of N>
//     residues
//     <P + 1 residues: the result, then mu_1 .. mu_P, each big-endian,
//      residue-bytes long>
//     sha256 <SHA-256 of everything above, hex>
//
// The checksum tells a damaged or cut file from a proof that does not hold;
// it protects nothing against a cheater, who would recompute it: that is
// the proof's own work.
#include <string>
#include <string_view>

#include "arithmetic/powering_proof.h"

namespace arithmetic {

std::string fermatProofBytes(const PoweringProof& proof, const std::string& numberId, size_t residueBytes);

struct FermatProofReading {
    bool ok = false;
    std::string problem;   // why not, when !ok
    std::string numberId;  // the number the proof names
    PoweringProof proof;
};

FermatProofReading readFermatProof(std::string_view bytes);

}  // namespace arithmetic
