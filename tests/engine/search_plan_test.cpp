// The sieve depth of the removal rule: where it lands for the costs of real
// sizes, how it moves with them, and that nothing caps it.
#include "engine/search_plan.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/candidate_sieve.h"

using namespace engine;

namespace {

// Seconds of tests one more sieving prime p saves, and what its residue costs.
double saved(size_t bits, double p, const SearchCosts& costs)
{
    return expectedTests(bits, static_cast<uint64_t>(p)) / p * costs.testSeconds;
}
double spent(double p, const SearchCosts& costs)
{
    return costs.wordSeconds / primesPerWord(static_cast<uint64_t>(p));
}

struct Size {
    const char* what;
    size_t bits;
    SearchCosts costs;
    double shallowest, deepest;  // where the depth must land
};

// Costs of the order measured on this kind of machine. At 100,000 digits the
// rule wants a depth far past 2^32, the old cap.
const Size kSizes[] = {
    {"1,000 digits", 3322, {5e-3, 40e-9}, 1e6, 1e9},
    {"10,000 digits", 33219, {1.0, 300e-9}, 1e9, 1e11},
    {"100,000 digits", 332193, {60.0, 1e-6}, 1e11, 1e13},
    {"1,000,000 digits", 3321928, {4e4, 5e-6}, 1e13, 1e16},
};

}  // namespace

TEST(SearchPlan, the_depth_is_where_one_more_prime_stops_paying)
{
    for (const Size& size : kSizes) {
        SCOPED_TRACE(size.what);
        const double depth = static_cast<double>(depthByRemovalRule(size.bits, size.costs));
        EXPECT_GE(depth, size.shallowest);
        EXPECT_LE(depth, size.deepest);
        EXPECT_GT(saved(size.bits, depth * 0.99, size.costs), spent(depth * 0.99, size.costs));
        EXPECT_LT(saved(size.bits, depth * 1.01, size.costs), spent(depth * 1.01, size.costs));
    }
}

TEST(SearchPlan, dearer_tests_sieve_deeper_and_dearer_residues_shallower)
{
    for (const Size& size : kSizes) {
        SCOPED_TRACE(size.what);
        const uint64_t depth = depthByRemovalRule(size.bits, size.costs);
        SearchCosts dearerTests = size.costs, dearerResidues = size.costs;
        dearerTests.testSeconds *= 10;
        dearerResidues.wordSeconds *= 10;
        EXPECT_GT(depthByRemovalRule(size.bits, dearerTests), depth);
        EXPECT_LT(depthByRemovalRule(size.bits, dearerResidues), depth);
    }
}

// Above 2^32 a word holds one prime instead of two, so a residue costs twice
// as much and the depth stops at 2^32 over a range of test costs.
TEST(SearchPlan, the_dearer_residues_above_2_to_32_hold_the_depth_there)
{
    const double twoTo32 = 4294967296.0;
    const SearchCosts costs{0, 200e-9};
    // Test costs at which 2^32 just pays with two primes a word but would not
    // with one.
    const size_t bits = 33219;
    const double perTestAtEdge = costs.wordSeconds / 2 / (expectedTests(bits, uint64_t{1} << 32) / twoTo32);
    for (double factor : {1.1, 1.5, 1.9}) {
        SearchCosts here = costs;
        here.testSeconds = perTestAtEdge * factor;
        const double depth = static_cast<double>(depthByRemovalRule(bits, here));
        EXPECT_NEAR(depth / twoTo32, 1.0, 0.01) << factor;
    }
}

TEST(SearchPlan, expected_tests_follow_the_mean_gap_and_mertens)
{
    // ln(10^1000) / 2 odd candidates to the mean gap, 1.1229 / ln P of them
    // survive: about 76 at depth 2.2 * 10^7.
    EXPECT_NEAR(expectedTests(3322, 22'000'000), 76.4, 0.5);
    EXPECT_GT(expectedTests(3322, 1'000'000), expectedTests(3322, 1'000'000'000));
}

TEST(SearchPlan, intervals_span_sixteen_mean_gaps_within_their_bounds)
{
    EXPECT_EQ(intervalOddsFor(10), 64u);
    EXPECT_NEAR(intervalOddsFor(33219) * 2.0 / (33219 * std::log(2.0)), 16.0, 0.5);
    EXPECT_EQ(intervalOddsFor(100'000'000), 1u << 22);
}
