// Verdicts of the built tester: Fermat tests, trial factoring, the
// Lucas-Lehmer test, and the shape of the result line.
#include "tester_fixture.h"

namespace prp_test {
namespace {

constexpr const char* kCheck = " -k -T4 -f0 ";
const std::string kPrime12 = "999999999989";  // largest prime below 10^12
const std::string kM127 = "170141183460469231731687303715884105727";
const std::string kM61 = "2305843009213693951";

struct VerdictCase {
    std::string digits;
    std::string parameters;
    ExpectedLine expected;
};

TEST_F(PrpTester, fermat_verdicts_on_known_primes_and_composites)
{
    const std::string m127TimesM61 = productDigits(kM127, kM61);
    const VerdictCase cases[] = {
        {kPrime12, kCheck, {kPrime12 + " is 3-PRP!", true, 0}},
        {"2", kCheck, {"2 is 3-PRP!", true, 0}},
        // n dividing the base tells the Fermat test nothing; 3 and 5 are prime.
        {"3", kCheck, {"3 is 3-PRP!", true, 0}},
        {"5", " -k -T4 -f0 -b5 ", {"5 is 5-PRP!", true, 0}},
        {"4", kCheck, {"4 is composite: RES64: [0000000000000003]", true, 1}},
        // A multiple of the base is an ordinary composite: 3^14 mod 15 = 9.
        {"15", kCheck, {"15 is composite: RES64: [0000000000000009]", true, 1}},
        {"0", kCheck, {"0 is composite: numbers below 2 are not prime", false, 1}},
        {"1", " -k -T4 -f ", {"1 is composite: numbers below 2 are not prime", false, 1}},
        // 341 = 11*31 fools base 2 but not base 3; 3^340 mod 341 = 0x38.
        {"341", " -k -T4 -f0 -b2 ", {"341 is 2-PRP!", true, 0}},
        {"341", " -k -T4 -f0 -b2 -b3 ", {"341 is composite: RES64: [0000000000000038]", true, 1}},
        // The Carmichael number 1105 = 5*13*17 passes every base prime to it.
        {"1105", " -k -T4 -f0 -b2 -b3 ", {"1105 is 3-PRP!", true, 0}},
        {"1105", " -k -T4 -f0 -b5 ", {"1105 is composite: RES64: [", false, 1}},
        {kM127, kCheck, {"1701411834604692....7303715884105727 is 3-PRP!", true, 0}},
        {m127TimesM61, kCheck, {"3923188584616675....4068553904357377 is composite: RES64: [3E2AF6C22F6BE301]", true, 1}},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.digits + " with" + c.parameters);
        TesterResult result = run(c.parameters, c.digits);
        if (c.expected.text.ends_with("[")) {
            EXPECT_EQ(result.exitStatus, c.expected.exitStatus);
            EXPECT_TRUE(onlyLine(result).starts_with(c.expected.text)) << result.out;
        } else {
            expectLine(result, c.expected);
        }
    }
}

TEST_F(PrpTester, trial_factoring_reports_small_factors_without_a_prp_test)
{
    // Above eight limbs the number is reduced down a product tree, below it
    // word by word: both paths, one range and many, one thread and several.
    const std::string m521 = mersenneDigits(521);
    const std::string bigWithFactors = productDigits(productDigits(m521, "999983"), "9999991");
    const std::string bigLabel = bigWithFactors.substr(0, 16) + "...." + bigWithFactors.substr(bigWithFactors.size() - 16);
    const VerdictCase cases[] = {
        {productDigits(kPrime12, "1000003"), " -k -T4 -f -s0 ",
         {productDigits(kPrime12, "1000003") + " has factors: 1000003", false, 1}},
        {"561", " -k -T4 -o -f ", {"561 has factors: 3*11*17", false, 1}},
        {bigWithFactors, " -k -T1 -o -f ", {bigLabel + " has factors: 999983*9999991", false, 1}},
        {bigWithFactors, " -k -T4 -o -f ", {bigLabel + " has factors: 999983*9999991", false, 1}},
        {bigWithFactors, " -k -T4 -f -s0 ", {bigLabel + " has factors: 999983", false, 1}},
        {productDigits(m521, "2"), " -k -T4 -f ", {"1372959532026121....8056582230114302 has factors: 2", false, 1}},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.digits + " with" + c.parameters);
        TesterResult result = run(c.parameters, c.digits);
        expectLine(result, c.expected);
        EXPECT_EQ(result.err.find("Fermat"), std::string::npos) << "no PRP test after a factor";
    }
}

TEST_F(PrpTester, trial_factoring_never_reports_a_small_prime_as_its_own_factor)
{
    for (const char* prime : {"2", "3", "7", "999983", "9999991"}) {
        SCOPED_TRACE(prime);
        TesterResult result = run(" -k -T4 -o -f1000 -d -s0 ", prime);
        std::string line = onlyLine(result);
        EXPECT_TRUE(line.starts_with(std::string(prime) + " has no small factor.")) << line;
        EXPECT_EQ(result.exitStatus, 0);
    }
}

TEST_F(PrpTester, trial_only_on_a_prime_prints_no_small_factor_and_no_prp_test)
{
    TesterResult result = run(" -k -T4 -o -f ", mersenneDigits(521));
    EXPECT_EQ(onlyLine(result), "6864797660130609....4028291115057151 has no small factor. (trial factoring to 10000000)");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err.find("Fermat"), std::string::npos);
}

TEST_F(PrpTester, mersenne_switch_runs_lucas_lehmer_on_2_to_the_q_minus_1)
{
    const VerdictCase cases[] = {
        {mersenneDigits(521), " -k -T4 -tm ",
         {"6864797660130609....4028291115057151 is PRP! (proven prime by the Lucas-Lehmer test)", true, 0}},
        {mersenneDigits(607), " -k -T4 -tm ",
         {"5311379928167670....5393219031728127 is PRP! (proven prime by the Lucas-Lehmer test)", true, 0}},
        // 2^523-1 has no factor below 10^7; its last term, computed apart.
        {mersenneDigits(523), " -k -T4 -tm ",
         {"2745919064052243....6113164460228607 is composite: RES64: [42154E4AB2F76FAF]", true, 1}},
        {"2047", " -k -T4 -tm -f0 ", {"2047 is composite: RES64: [00000000000006C8]", true, 1}},
        {"2047", " -k -T4 -tm ", {"2047 has factors: 23", false, 1}},
        {"3", " -k -T4 -tm -f0 ", {"3 is PRP! (proven prime by the Lucas-Lehmer test)", true, 0}},
        // A composite exponent q gives the factor 2^d - 1 for d dividing q.
        {"4095", " -k -T4 -tm -f0 ", {"4095 has factors: 3", false, 1}},
        {mersenneDigits(1001), " -k -T4 -tm -f0 ", {"2143017214372534....3674411336138751 has factors: 127", false, 1}},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.digits + " with" + c.parameters);
        expectLine(run(c.parameters, c.digits), c.expected);
    }
}

TEST_F(PrpTester, mersenne_switch_on_another_number_says_so_and_runs_the_prp_test)
{
    TesterResult result = run(" -k -T4 -tm ", kPrime12);
    expectLine(result, {kPrime12 + " is 3-PRP!", true, 0});
    EXPECT_NE(result.err.find("not of the form 2^q-1"), std::string::npos) << result.err;
}

TEST_F(PrpTester, number_is_named_whole_below_36_digits_and_abbreviated_from_36)
{
    const std::string digits35 = "12345678901234567890123456789012345";
    const std::string digits36 = "123456789012345678901234567890123456";
    EXPECT_TRUE(onlyLine(run(kCheck, digits35)).starts_with(digits35 + " is composite: RES64: ["));
    EXPECT_TRUE(onlyLine(run(kCheck, digits36)).starts_with("1234567890123456....1234567890123456 is composite: RES64: ["));
}

TEST_F(PrpTester, composite_line_carries_sixteen_hex_digits_and_both_times)
{
    std::string line = onlyLine(run(kCheck, productDigits(kM127, kM127)));
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d{16}\.\.\.\.\d{16} is composite: RES64: \[[0-9A-F]{16}\] \(\d+\.\d{4}s\+\d+\.\d{4}s\))")))
        << line;
}

}  // namespace
}  // namespace prp_test
