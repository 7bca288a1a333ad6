#include "cli/primality_proving.h"

#include <algorithm>
#include <cstdio>

#include <CLI/CLI.hpp>
#include <primesieve.hpp>

#include "arithmetic/lucas_lehmer.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/progress.h"
#include "engine/decimal_text.h"
#include "storage/atomic_file.h"

namespace cli {

namespace {

using engine::BigInt;

// Trial division finds the small factors at once; the strong test to the
// first prime bases finds every other composite met in practice.
constexpr uint64_t kTrialDivisionBound = 65'536;
constexpr unsigned long kStrongTestBases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};

// The strong probable-prime test of odd n > 3 to base a.
bool passesStrongTest(const BigInt& n, unsigned long base)
{
    BigInt nMinusOne, d, x, a(base);
    mpz_sub_ui(nMinusOne.get(), n.get(), 1);
    mp_bitcnt_t twos = mpz_scan1(nMinusOne.get(), 0);
    mpz_tdiv_q_2exp(d.get(), nMinusOne.get(), twos);
    mpz_powm(x.get(), a.get(), d.get(), n.get());
    if (mpz_cmp_ui(x.get(), 1) == 0 || mpz_cmp(x.get(), nMinusOne.get()) == 0)
        return true;
    for (mp_bitcnt_t i = 1; i < twos; ++i) {
        mpz_powm_ui(x.get(), x.get(), 2, n.get());
        if (mpz_cmp(x.get(), nMinusOne.get()) == 0)
            return true;
    }
    return false;
}

// The composite's witness, or nothing when n passes every check.
std::optional<std::string> compositeWitness(const BigInt& n)
{
    std::optional<std::string> witness;
    primesieve::iterator primes;
    for (uint64_t p = primes.next_prime(); p < kTrialDivisionBound && !witness; p = primes.next_prime()) {
        if (mpz_cmp_ui(n.get(), p) == 0)
            return std::nullopt;
        if (mpz_divisible_ui_p(n.get(), p))
            witness = "divisible by " + std::to_string(p);
    }
    if (witness || mpz_cmp_ui(n.get(), kTrialDivisionBound * kTrialDivisionBound) < 0)
        return witness;  // below the bound squared, trial division decides
    for (unsigned long base : kStrongTestBases)
        if (!passesStrongTest(n, base))
            return "base " + std::to_string(base) + " fails the strong probable-prime test";
    if (mpz_probab_prime_p(n.get(), 2) == 0)
        return "it fails the Baillie-PSW test";
    return std::nullopt;
}

ProvenVerdict lucasLehmerVerdict(unsigned long q, const ProvingProgress& progress)
{
    ProvenVerdict verdict;
    verdict.method = "Lucas-Lehmer test of 2^" + std::to_string(q) + "-1";
    unsigned long divisor = arithmetic::smallestPrimeFactor(q);
    if (divisor != q) {
        verdict.witness = "2^" + std::to_string(divisor) + "-1 divides it";
        return verdict;
    }
    if (progress)
        progress(verdict.method, 0);
    arithmetic::LongRunSettings settings;
    settings.threads = 0;  // one per core
    arithmetic::LucasLehmerOutcome outcome = arithmetic::lucasLehmer(q, settings);
    verdict.prime = outcome.prime;
    if (!outcome.prime) {
        char res64[17];
        std::snprintf(res64, sizeof res64, "%016llX", static_cast<unsigned long long>(outcome.res64));
        verdict.witness = std::string("its last Lucas-Lehmer term is not 0 (RES64 ") + res64 + ")";
    }
    return verdict;
}

}  // namespace

ProvenVerdict provePrimality(const BigInt& n, const ProvingProgress& progress)
{
    unsigned long q = 0;
    if (arithmetic::isMersenneNumber(n.get(), q) && q > 2)
        return lucasLehmerVerdict(q, progress);

    // Refused before any test: even the strong test of such a number takes
    // minutes, and its certificate could not follow.
    size_t digits = mpz_sizeinbase(n.get(), 10);
    if (digits > kMaxCertifiedDigits)
        throw BadInput("an elliptic-curve proof of more than " + std::to_string(kMaxCertifiedDigits) +
                       " digits would take months; for such numbers run the tester with -proof P");

    ProvenVerdict verdict;
    if (std::optional<std::string> witness = compositeWitness(n)) {
        verdict.method = "trial division and the strong probable-prime test";
        verdict.witness = *witness;
        return verdict;
    }
    if (mpz_cmp_ui(n.get(), kTrialDivisionBound * kTrialDivisionBound) < 0) {
        verdict.prime = true;
        verdict.method = "trial division";
        // PARI's certificate of a number below 2^64 is the number itself.
        verdict.certificate = pari_library::Certificate{engine::toDecimal(n), "", 0};
        return verdict;
    }
    try {
        // The descent takes the first half, the curves (one per step) the second.
        const double bits = static_cast<double>(mpz_sizeinbase(n.get(), 2));
        unsigned steps = 1;
        pari_library::Certificate certificate =
            pari_library::certifyPrime(engine::toDecimal(n), [&](const pari_library::ProvingProgress& now) {
                if (!progress)
                    return;
                std::string digitsNow = std::to_string(static_cast<unsigned>(now.bits * 0.30103) + 1);
                if (now.phase == pari_library::ProvingProgress::Phase::Descent) {
                    steps = std::max(steps, now.step);
                    progress("descent step " + std::to_string(now.step) + ", " + digitsNow + " digits",
                             0.5 * (1 - now.bits / bits));
                } else {
                    progress("curve " + std::to_string(now.step) + " of " + std::to_string(steps) + ", " + digitsNow +
                                 " digits",
                             0.5 + 0.5 * std::min(1.0, now.step / double(steps)));
                }
            });
        verdict.prime = true;
        verdict.method = certificate.steps == 0
                             ? "Baillie-PSW test, a proof below 2^64"
                             : "elliptic curves (PARI), " + std::to_string(certificate.steps) + " steps";
        verdict.certificate = std::move(certificate);
    } catch (const pari_library::PariError& error) {
        if (std::string(error.what()).find("composite") == std::string::npos)
            throw InternalFailure(std::string("PARI: ") + error.what());
        verdict.method = "elliptic curves (PARI)";
        verdict.witness = "PARI's proof search found it composite";
    }
    return verdict;
}

std::string verdictText(const ProvenVerdict& verdict)
{
    if (verdict.prime)
        return "prime (" + verdict.method + ")";
    return "composite (" + verdict.witness + ")";
}

void describeProveOptions(CLI::App& entry, ProveRequest& request)
{
    entry.add_flag("--prove", request.prove, "prove the prime found (elliptic curves, or Lucas-Lehmer for 2^q-1)");
    entry.add_option("--cert", request.certificatePath,
                     "prove it and write its certificate to FILE and FILE.exchange");
}

void addProofFields(JsonResult& json, const ProvenVerdict& verdict, const std::string& certificatePath)
{
    json.field("proven_prime", verdict.prime).field("method", verdict.method);
    if (!verdict.prime)
        json.field("witness", verdict.witness);
    else if (verdict.certificate && !certificatePath.empty())
        json.field("certificate", certificatePath);
}

ProvenVerdict proveFoundPrime(const std::string& digits, const std::string& certificatePath, bool quiet)
{
    BigInt n;
    engine::setFromDecimal(n, digits);
    Progress progress("prove", quiet);
    ProvenVerdict verdict = provePrimality(n, [&](const std::string& stage, double fraction) {
        progress.stage(stage);
        progress.update(fraction);
    });
    progress.finish();
    if (verdict.prime && !certificatePath.empty() && verdict.certificate)
        writeCertificateFiles(certificatePath, *verdict.certificate);
    return verdict;
}

void writeCertificateFiles(const std::string& path, const pari_library::Certificate& certificate)
{
    std::string why;
    if (!storage::writeFileAtomically(path, certificate.pariText + "\n", &why))
        throw InternalFailure("cannot write the certificate " + path + ": " + why);
    if (!certificate.exchangeText.empty() &&
        !storage::writeFileAtomically(path + ".exchange", certificate.exchangeText, &why))
        throw InternalFailure("cannot write the certificate " + path + ".exchange: " + why);
}

}  // namespace cli
