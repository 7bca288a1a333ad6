// PARI behind its wrapper: certificates made and checked, certificates
// tampered with or not certificates at all, factoring with and without
// enough time, and PARI's errors coming back as exceptions after which the
// library still works.
#include <gtest/gtest.h>

#include <gmp.h>

#include "pari_library/integer_factoring.h"
#include "pari_library/primality_certificate.h"

namespace {

using pari_library::CertificateCheck;

// 10^59 + 19, the first prime above 10^59.
constexpr const char* kPrime60 = "100000000000000000000000000000000000000000000000000000000019";

std::string product(const std::vector<std::string>& factors)
{
    mpz_t p, f;
    mpz_init_set_ui(p, 1);
    mpz_init(f);
    for (const std::string& text : factors) {
        mpz_set_str(f, text.c_str(), 10);
        mpz_mul(p, p, f);
    }
    char* text = mpz_get_str(nullptr, 10, p);
    std::string result(text);
    free(text);
    mpz_clears(p, f, nullptr);
    return result;
}

TEST(PrimalityCertificate, a_60_digit_prime_gets_a_certificate_that_checks_and_names_it)
{
    int progressCalls = 0;
    pari_library::Certificate certificate =
        pari_library::certifyPrime(kPrime60, [&](const pari_library::ProvingProgress& now) {
            ++progressCalls;
            EXPECT_GT(now.bits, 0u);
        });
    EXPECT_GT(certificate.steps, 0u);
    EXPECT_GT(progressCalls, 0);
    EXPECT_NE(certificate.exchangeText.find("[Candidate]"), std::string::npos);
    EXPECT_NE(certificate.exchangeText.find("N=0x"), std::string::npos);

    CertificateCheck check = pari_library::checkCertificate(certificate.pariText);
    EXPECT_EQ(check.result, CertificateCheck::Result::Valid) << check.problem;
    EXPECT_EQ(check.number, kPrime60);
}

TEST(PrimalityCertificate, below_two_to_the_64_the_number_is_its_own_certificate)
{
    pari_library::Certificate certificate = pari_library::certifyPrime("18446744073709551557", nullptr);
    EXPECT_EQ(certificate.pariText, "18446744073709551557");
    EXPECT_EQ(certificate.steps, 0u);
    EXPECT_EQ(pari_library::checkCertificate("18446744073709551557").result, CertificateCheck::Result::Valid);
    EXPECT_EQ(pari_library::checkCertificate("18446744073709551559").result, CertificateCheck::Result::Invalid);
}

TEST(PrimalityCertificate, pari_errors_and_composites_come_back_to_the_caller_and_pari_goes_on_working)
{
    // Vectors of different lengths subtracted: PARI raises an error (a
    // longjmp inside PARI), which comes back as the reason.
    CertificateCheck broken = pari_library::checkCertificate("[1] - [1, 2]");
    EXPECT_EQ(broken.result, CertificateCheck::Result::NotACertificate);
    EXPECT_TRUE(broken.problem.starts_with("it is not a certificate PARI can read: ")) << broken.problem;
    // 10^59 + 541 = 7 * ...: no certificate.
    EXPECT_THROW(pari_library::certifyPrime("100000000000000000000000000000000000000000000000000000000541", nullptr),
                 pari_library::PariError);
    EXPECT_EQ(pari_library::checkCertificate(pari_library::certifyPrime(kPrime60, nullptr).pariText).result,
              CertificateCheck::Result::Valid);
}

TEST(PrimalityCertificate, tampered_texts_and_texts_that_are_no_certificate_are_told_apart)
{
    std::string text = pari_library::certifyPrime(kPrime60, nullptr).pariText;
    // The second number of the first link (t) changed by one.
    std::string tampered = text;
    size_t t = tampered.find(',') + 2;
    tampered[t] = tampered[t] == '9' ? '8' : static_cast<char>(tampered[t] + 1);
    EXPECT_EQ(pari_library::checkCertificate(tampered).result, CertificateCheck::Result::Invalid);

    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"GP code", "system(\"touch /tmp/quendrolt-pari-ran\")"},
        {"a word", "[1, 2, x]"},
        {"unpaired", "[[1, 2]"},
        {"empty", ""},
        {"a vector of vectors of vectors", "[[[1]]]"},
        {"negative", "-7"},
    };
    for (const Case& c : cases) {
        CertificateCheck check = pari_library::checkCertificate(c.text);
        EXPECT_EQ(check.result, CertificateCheck::Result::NotACertificate) << c.name;
        EXPECT_FALSE(check.problem.empty()) << c.name;
    }
}

TEST(IntegerFactoring, factors_come_ascending_with_multiplicity_and_multiply_back)
{
    struct Case {
        const char* name;
        std::string n;
        std::vector<std::string> primes;
    };
    const Case cases[] = {
        // 2^3 * 3 * 1000000007 * 998244353 * (10^20 + 39)
        {"small primes with multiplicity", "2395786463970505131334356720948497000856",
         {"2", "2", "2", "3", "998244353", "1000000007", "100000000000000000039"}},
        {"a prime", "1000000007", {"1000000007"}},
        // (10^19 + 51) (10^19 + 87): a semiprime for the sieve.
        {"a 39-digit semiprime", product({"10000000000000000051", "10000000000000000087"}),
         {"10000000000000000051", "10000000000000000087"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> primes = pari_library::factorCompletely(c.n);
        EXPECT_EQ(primes, c.primes) << c.name;
        EXPECT_EQ(product(primes), c.n) << c.name;
    }
}

}  // namespace
