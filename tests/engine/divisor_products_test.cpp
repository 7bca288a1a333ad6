#include "engine/divisor_products.h"

#include <gtest/gtest.h>


#include "engine/decimal_text.h"
#include "engine/divisor_test.h"
#include "engine/prime_tables.h"

using namespace engine;

TEST(DivisorProducts, product_tree_equals_the_literal_prime_by_prime_build)
{
    const std::array<size_t, 3> reduced = {3000, 5800, 8500};
    DivisorProducts fast, literal;
    buildDivisorProducts(fast, reduced);
    buildDivisorProductsLiterally(literal, reduced);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fast.d[i].compare(literal.d[i]), 0) << "D" << i + 1;
}

TEST(FirstCheck, finds_the_level_of_the_smallest_shared_prime)
{
    const std::array<size_t, 3> reduced = {30, 60, 90};
    DivisorProducts products;
    buildDivisorProducts(products, reduced);
    std::vector<unsigned> primes = firstPrimes(100);
    struct Case { unsigned long long n; int level; };
    // primes[30] is in D2, primes[60] in D3, primes[95] in none.
    for (Case c : {Case{3ULL * 1000003ULL, 1}, Case{primes[30] * 1000003ULL, 2}, Case{primes[60] * 1000003ULL, 3},
                   Case{primes[95] * 1000003ULL, 0}, Case{1000003ULL, 0},
                   // The product of distinct primes of D1 is its own gcd with D1: not caught there.
                   Case{2ULL * 3ULL * 5ULL, 0}}) {
        BigInt n;
        mpz_set_ui(n.get(), c.n);
        EXPECT_EQ(firstCheck(n, products), c.level) << c.n;
    }
}
