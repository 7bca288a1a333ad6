#pragma once
// prove: a verdict with its proof. Composites are found by trial division
// and the strong probable-prime test (the factor or the base is the
// witness); 2^q - 1 is decided by the Lucas-Lehmer test, which is a proof in
// itself; any other probable prime gets an elliptic-curve certificate from
// PARI (pari_library), which other programs can check.
#include <functional>
#include <optional>
#include <string>

#include "engine/big_integer.h"
#include "pari_library/primality_certificate.h"

namespace CLI {
class App;
}

namespace cli {

// Beyond this an elliptic-curve proof takes days (the cost grows as about
// the fourth power of the size: 1,000 digits minutes, 3,000 hours).
constexpr size_t kMaxCertifiedDigits = 10'000;

struct ProvenVerdict {
    bool prime = false;
    std::string method;   // "elliptic curves (PARI, 25 steps)", "Lucas-Lehmer test", ...
    std::string witness;  // composite: what shows it ("divisible by 7", ...)
    std::optional<pari_library::Certificate> certificate;
};

// Where a proof is: the stage ("descent step 3, 180 digits") and the share
// done, roughly (the descent's digits, then the curves built).
using ProvingProgress = std::function<void(const std::string& stage, double fraction)>;

// n >= 2. Throws BadInput for an n above kMaxCertifiedDigits that is not
// 2^q - 1, and InternalFailure when PARI fails.
ProvenVerdict provePrimality(const engine::BigInt& n, const ProvingProgress& progress);

// One line for a verdict: "prime (elliptic curves (PARI), 25 steps)",
// "composite (divisible by 7)".
std::string verdictText(const ProvenVerdict& verdict);

// --prove and --cert FILE of the searches: the prime found is proven and
// its certificate written.
struct ProveRequest {
    bool prove = false;
    std::string certificatePath;
    bool wanted() const { return prove || !certificatePath.empty(); }
};

// Adds --prove and --cert to a search's entry.
void describeProveOptions(CLI::App& entry, ProveRequest& request);

class JsonResult;

// The proof's fields of a search's JSON object: "proven_prime", "method",
// "witness" (composite) and "certificate" (the file written).
void addProofFields(JsonResult& json, const ProvenVerdict& verdict, const std::string& certificatePath);

// Proves what a search found, writes the certificate to certificatePath
// when it is not empty, and shows its progress unless quiet.
ProvenVerdict proveFoundPrime(const std::string& digits, const std::string& certificatePath, bool quiet);

// Writes the certificate to `path` (PARI's form, which gp and verify-cert
// read) and to path + ".exchange" (primecertexport format 1, read by other
// provers), each atomically. Throws InternalFailure when a write fails.
void writeCertificateFiles(const std::string& path, const pari_library::Certificate& certificate);

}  // namespace cli
