// prove, verify-cert and the searches' --prove: certificates that check,
// witnesses of composites, the Lucas-Lehmer test for 2^q - 1, and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "engine/decimal_text.h"

using namespace cli_test;

namespace {

std::string nextPrimeText(const std::string& start)
{
    engine::BigInt n;
    engine::setFromDecimal(n, start);
    mpz_nextprime(n.get(), n.get());
    return engine::toDecimal(n);
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(CliProve, a_prime_gets_a_certificate_in_both_forms_that_verify_cert_checks)
{
    TemporaryDirectory dir;
    const std::string p = nextPrimeText("1" + std::string(79, '0'));
    const std::string cert = dir.path() + "/p.cert";
    CliRun proof = runCli({"prove", p, "--cert", cert, "-q"});
    ASSERT_EQ(proof.status, 0) << proof.err;
    EXPECT_TRUE(proof.out.starts_with(p + " prime (elliptic curves (PARI), ")) << proof.out;
    EXPECT_NE(readText(cert + ".exchange").find("[Candidate]"), std::string::npos);

    CliRun check = runCli({"verify-cert", cert, "-q"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(lines(check.out), std::vector<std::string>{p + " prime: the certificate holds"});

    // One digit of the first curve's order changed: the certificate no longer holds.
    std::string text = readText(cert);
    size_t digit = text.find(", ") + 3;
    text[digit] = text[digit] == '1' ? '2' : '1';
    CliRun tampered = runCli({"verify-cert", dir.write("tampered.cert", text), "-q"});
    EXPECT_EQ(tampered.status, 5) << tampered.out;
    EXPECT_NE(tampered.out.find("the certificate does not hold"), std::string::npos) << tampered.out;
}

TEST(CliProve, composites_come_with_their_witness_and_mersenne_numbers_with_lucas_lehmer)
{
    struct Case {
        std::string number;
        int status;
        std::string line;
    };
    const std::string p = nextPrimeText("1" + std::string(39, '0'));
    const std::string q = nextPrimeText("7" + std::string(39, '0'));
    engine::BigInt pq, m127, m11, m15;
    engine::setFromDecimal(pq, p);
    engine::BigInt qq;
    engine::setFromDecimal(qq, q);
    mpz_mul(pq.get(), pq.get(), qq.get());
    for (auto [m, e] : {std::pair{&m127, 127u}, {&m11, 11u}, {&m15, 15u}}) {
        mpz_setbit(m->get(), e);
        mpz_sub_ui(m->get(), m->get(), 1);
    }
    const Case cases[] = {
        {"1000001", 1, "1000001 composite (divisible by 101)"},
        {engine::toDecimal(pq), 1,
         engine::toDecimal(pq) + " composite (base 2 fails the strong probable-prime test)"},
        {engine::toDecimal(m127), 0, engine::toDecimal(m127) + " prime (Lucas-Lehmer test of 2^127-1)"},
        {engine::toDecimal(m15), 1, engine::toDecimal(m15) + " composite (2^3-1 divides it)"},
        {"65537", 0, "65537 prime (trial division)"},
    };
    for (const Case& c : cases) {
        CliRun run = runCli({"prove", c.number, "-q"});
        EXPECT_EQ(run.status, c.status) << c.number << run.err;
        EXPECT_EQ(lines(run.out), std::vector<std::string>{c.line});
    }
    // 2^11-1 = 23 * 89: q is prime, the Lucas-Lehmer test says composite.
    CliRun m11run = runCli({"prove", engine::toDecimal(m11), "--json", "-q"});
    EXPECT_EQ(m11run.status, 1);
    EXPECT_NE(m11run.out.find("\"method\":\"Lucas-Lehmer test of 2^11-1\""), std::string::npos) << m11run.out;
}

TEST(CliProve, bad_numbers_and_files_end_with_status_2_and_a_reason)
{
    TemporaryDirectory dir;
    struct Case {
        std::vector<std::string> words;
        std::string reason;
    };
    const Case cases[] = {
        {{"prove", "1"}, "below 2"},
        {{"prove", "12x"}, ""},
        {{"prove", "1" + std::string(10'000, '0') + "1"}, "would take months"},
        {{"verify-cert", dir.path() + "/missing.cert"}, "cannot read"},
        {{"verify-cert", dir.write("code.cert", "system(\"true\")")}, "is not a certificate"},
        {{"verify-cert", dir.write("exchange.cert", "[Candidate]\nN=0x1F\n")}, "exchange format"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = c.words;
        words.push_back("-q");
        CliRun run = runCli(words);
        EXPECT_EQ(run.status, 2) << c.words[1] << run.out;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
}

TEST(CliProve, searches_prove_what_they_find_and_write_its_certificate)
{
    TemporaryDirectory dir;
    const std::string cert = dir.path() + "/next.cert";
    const std::string start = "1" + std::string(99, '0');
    CliRun run = runCli({"next-prime", start, "--prove", "--cert", cert, "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string p = nextPrimeText(start);
    EXPECT_TRUE(run.out.starts_with(p + " prime (elliptic curves (PARI), ")) << run.out;
    CliRun check = runCli({"verify-cert", cert, "-q"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_TRUE(check.out.starts_with(p + " prime")) << check.out;

    CliRun random = runCli({"random-prime", "--digits", "60", "--seed", "5", "--count", "2", "--cert",
                            dir.path() + "/random.cert", "-q"});
    ASSERT_EQ(random.status, 0) << random.err;
    for (const char* suffix : {".1", ".2"})
        EXPECT_EQ(runCli({"verify-cert", dir.path() + "/random.cert" + suffix, "-q"}).status, 0) << suffix;
}
