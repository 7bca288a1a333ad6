// The tester's run on numbers below 10^30 against GMP: a prime is always a
// probable prime, a composite verdict is always right, and a probable-prime
// verdict on a composite is possible only for a Fermat pseudoprime to every
// base tested.
#include <gmp.h>

#include <chrono>

#include "engine/big_integer.h"
#include "engine/decimal_text.h"
#include "fuzz_support.h"
#include "tester_run.h"

namespace {

bool fermatPseudoprimeToAll(const engine::BigInt& n, const std::vector<unsigned long>& bases)
{
    engine::BigInt exponent, residue, base;
    mpz_sub_ui(exponent.get(), n.get(), 1);
    for (unsigned long b : bases) {
        mpz_set_ui(base.get(), b);
        mpz_powm(residue.get(), base.get(), exponent.get(), n.get());
        if (mpz_cmp_ui(residue.get(), 1) != 0)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // First byte: the options; the rest: the number's digits, at most 30.
    const uint8_t choice = data[0];
    std::string digits = fuzz::plainDigits(fuzz::asText(data + 1, size - 1)).substr(0, 30);
    const size_t significant = digits.find_first_not_of('0');
    if (significant == std::string::npos)
        return 0;
    digits.erase(0, significant);

    prp::TesterOptions options;
    options.trialDepth = choice & 1 ? prp::kTrialDepthUnit : 0;
    options.mersenneTest = choice & 2;
    if (choice & 4)
        options.bases = {2, static_cast<unsigned long>(3 + (choice >> 3))};

    arithmetic::StopRequest stop;  // never requested: the run goes to its end
    const prp::RunOutcome outcome = prp::runTester(options, digits, std::chrono::steady_clock::now(), stop);
    engine::BigInt n;
    FUZZ_CHECK(engine::setFromDecimal(n, digits));
    const bool prime = mpz_probab_prime_p(n.get(), 30) != 0;
    FUZZ_CHECK(outcome.exitStatus == prp::kExitProbablePrime || outcome.exitStatus == prp::kExitComposite);
    if (prime)
        FUZZ_CHECK(outcome.exitStatus == prp::kExitProbablePrime);
    else if (outcome.exitStatus == prp::kExitProbablePrime)
        FUZZ_CHECK(mpz_cmp_ui(n.get(), 1) > 0 && fermatPseudoprimeToAll(n, prp::effectiveBases(options)));
    return 0;
}
