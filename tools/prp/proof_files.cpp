#include "proof_files.h"

#include <filesystem>

#include "arithmetic/checkpoint.h"
#include "arithmetic/proof_challenges.h"
#include "arithmetic/proof_file.h"
#include "arithmetic/sha256.h"
#include "progress.h"
#include "storage/atomic_file.h"
#include "storage/whole_file.h"

namespace prp {

namespace {

constexpr std::string_view kChecksumKey = "sha256 ";

}  // namespace

std::string proofFileName(const std::string& numberFile, unsigned long base)
{
    return numberFile + ".b" + std::to_string(base) + ".proof";
}

ProofFiles::ProofFiles(const std::string& numberFile, mpz_srcptr n, unsigned long base, unsigned power)
    : proofPath_(proofFileName(numberFile, base)),
      folder_(proofPath_ + ".residues"),
      numberId_(arithmetic::numberIdentity(n)),
      residueBytes_(arithmetic::byteLength(n)),
      base_(base),
      power_(power)
{
}

std::string ProofFiles::residuePath(uint64_t boundary) const
{
    return folder_ + "/s" + std::to_string(boundary);
}

std::string ProofFiles::residueHeader(uint64_t boundary) const
{
    return "quendrolt proof residue 1\nnumber " + numberId_ + "\nbase " + std::to_string(base_) + "\npower " +
           std::to_string(power_) + "\nboundary " + std::to_string(boundary) + "\nbytes " +
           std::to_string(residueBytes_) + "\n";
}

bool ProofFiles::save(uint64_t boundary, mpz_srcptr residue)
{
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    std::string bytes = residueHeader(boundary) + arithmetic::residueBytes(residue, residueBytes_);
    bytes += std::string(kChecksumKey) + arithmetic::hexDigest(arithmetic::sha256(bytes)) + "\n";
    std::string why;
    if (storage::writeFileAtomically(residuePath(boundary), bytes, &why, storage::Durability::Deferred)) {
        unsynced_.push_back(residuePath(boundary));
        return true;
    }
    note("Cannot write %s: %s", residuePath(boundary).c_str(), why.c_str());
    return false;
}

bool ProofFiles::load(uint64_t boundary, mpz_ptr residue)
{
    std::string bytes;
    if (storage::readWholeFile(residuePath(boundary), bytes) != storage::FileReadStatus::Read)
        return false;
    std::string header = residueHeader(boundary);
    size_t checksumAt = header.size() + residueBytes_;
    if (bytes.size() != checksumAt + kChecksumKey.size() + 64 + 1 || !bytes.starts_with(header) ||
        bytes.compare(checksumAt, std::string::npos, std::string(kChecksumKey) +
                                                         arithmetic::hexDigest(arithmetic::sha256(
                                                             std::string_view(bytes).substr(0, checksumAt))) +
                                                         "\n") != 0)
        return false;
    mpz_import(residue, residueBytes_, 1, 1, 1, 0, bytes.data() + header.size());
    return true;
}

void ProofFiles::sync()
{
    for (const std::string& path : unsynced_)
        (void)storage::syncToDisk(path);  // a residue that did not make it is refused on resuming
    unsynced_.clear();
}

bool ProofFiles::saveProof(const arithmetic::PoweringProof& proof)
{
    std::string why;
    std::string bytes = arithmetic::fermatProofBytes(proof, numberId_, residueBytes_);
    if (!storage::writeFileAtomically(proofPath_, bytes, &why)) {
        note("Cannot write the proof %s: %s", proofPath_.c_str(), why.c_str());
        return false;
    }
    note("Proof of power %u written to %s (%zu bytes)", power_, proofPath_.c_str(), bytes.size());
    return true;
}

void ProofFiles::removeResidues()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

arithmetic::ProofStoreOpener proofFilesBeside(const std::string& numberFile, unsigned power)
{
    return [numberFile, power](mpz_srcptr n, unsigned long base) {
        return std::make_unique<ProofFiles>(numberFile, n, base, power);
    };
}

}  // namespace prp
