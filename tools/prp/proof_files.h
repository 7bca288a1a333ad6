#pragma once
// The files of a Fermat test's proof, beside the number file:
//   "<number file>.b<base>.proof"            the proof, written at the end;
//   "<number file>.b<base>.proof.residues/"  the 2^P - 1 residues s_k kept
//                                           during the run, one file each,
//                                           removed once the proof is written.
// Every file is written atomically; the residues without waiting for the
// disk (one flush each would cost seconds at P = 8 on small numbers), and
// are put on it before each checkpoint, which is what resuming needs. A
// residue file names its number, base,
// power and boundary and ends in a SHA-256 of its bytes, so a residue of
// another test or a damaged one is never used (the run then starts over).
#include <string>
#include <vector>

#include "arithmetic/long_run.h"
#include "arithmetic/powering_proof.h"

namespace prp {

std::string proofFileName(const std::string& numberFile, unsigned long base);

class ProofFiles final : public arithmetic::ProofStore {
public:
    ProofFiles(const std::string& numberFile, mpz_srcptr n, unsigned long base, unsigned power);

    bool save(uint64_t boundary, mpz_srcptr residue) override;
    bool load(uint64_t boundary, mpz_ptr residue) override;
    void sync() override;
    bool saveProof(const arithmetic::PoweringProof& proof) override;
    void removeResidues() override;
    std::string name() const override { return folder_; }

private:
    std::string residuePath(uint64_t boundary) const;
    std::string residueHeader(uint64_t boundary) const;

    std::string proofPath_;
    std::string folder_;
    std::vector<std::string> unsynced_;
    std::string numberId_;
    size_t residueBytes_;
    unsigned long base_;
    unsigned power_;
};

// The opener the Fermat test takes: proofs of that power beside numberFile.
arithmetic::ProofStoreOpener proofFilesBeside(const std::string& numberFile, unsigned power);

}  // namespace prp
