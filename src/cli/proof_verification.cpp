#include "cli/proof_verification.h"

#include <regex>

#include "arithmetic/checkpoint.h"
#include "arithmetic/powering_proof.h"
#include "arithmetic/proof_file.h"
#include "cli/failure.h"
#include "storage/whole_file.h"

namespace cli {

std::string numberFileOfProof(const std::string& proofPath)
{
    static const std::regex proofName(R"(^(.+)\.b[0-9]+\.proof$)");
    std::smatch match;
    return std::regex_match(proofPath, match, proofName) ? match[1].str() : "";
}

ProofFileVerdict verifyProofFile(const std::string& proofPath, const engine::BigInt& n, unsigned threads)
{
    std::string bytes;
    storage::FileReadStatus status = storage::readWholeFile(proofPath, bytes);
    if (status != storage::FileReadStatus::Read)
        throw BadInput("cannot read the proof " + proofPath + ": " + storage::describe(status));
    arithmetic::FermatProofReading reading = arithmetic::readFermatProof(bytes);
    if (!reading.ok)
        throw BadInput("the proof " + proofPath + " is refused: " + reading.problem);
    if (reading.numberId != arithmetic::numberIdentity(n.get()))
        throw BadInput("the proof " + proofPath + " is of another number (" + reading.numberId + ")");
    if (mpz_cmp_ui(n.get(), 3) < 0 || mpz_even_p(n.get()))
        throw BadInput("a proof of a Fermat test is of an odd number above 2");

    engine::BigInt exponent;
    mpz_sub_ui(exponent.get(), n.get(), 1);
    arithmetic::ProofCheck check = arithmetic::verifyPoweringProof(reading.proof, exponent.get(), n.get(), threads);
    ProofFileVerdict verdict;
    verdict.holds = check.holds;
    verdict.reason = check.reason;
    verdict.base = reading.proof.base;
    verdict.power = reading.proof.power;
    verdict.probablePrime = mpz_cmp_ui(reading.proof.result.get(), 1) == 0;
    verdict.res64 = mpz_size(reading.proof.result.get()) == 0 ? 0 : mpz_getlimbn(reading.proof.result.get(), 0);
    if (verdict.holds && mpz_cmp(reading.proof.result.get(), exponent.get()) == 0) {
        // b^(N-1) = -1 (mod N) is impossible for odd N: such a proof is a forgery.
        verdict.holds = false;
        verdict.reason = "the proof claims b^(N-1) = -1 (mod N), which no odd N has";
    }
    return verdict;
}

}  // namespace cli
