#include "engine/divisor_products.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/decimal_text.h"
#include "engine/divisor_test.h"

using namespace engine;
namespace fs = std::filesystem;

TEST(DivisorProducts, product_tree_equals_the_literal_prime_by_prime_build)
{
    const std::array<size_t, 3> reduced = {3000, 5800, 8500};
    DivisorProducts fast, literal;
    buildDivisorProducts(fast, reduced);
    buildDivisorProductsLiterally(literal, reduced);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fast.d[i].compare(literal.d[i]), 0) << "D" << i + 1;
}

TEST(DivisorProducts, full_build_has_the_known_digit_counts_and_file_layout)
{
    DivisorProducts products;
    buildDivisorProducts(products);
    auto texts = divisorTexts(products);
    EXPECT_EQ(texts[0].size(), 1847516u);
    EXPECT_EQ(texts[1].size(), 1903908u);
    EXPECT_EQ(texts[2].size(), 1898410u);

    fs::path dir = fs::temp_directory_path() / ("divisor-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / kDivisorFileName).string();
    ASSERT_TRUE(writeDivisorFile(path, texts));
    EXPECT_EQ(fs::file_size(path), 5649836u);
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 2);
    EXPECT_NE(content.back(), '\n');
    EXPECT_FALSE(fs::exists(path + ".part"));

    DivisorProducts reread;
    ASSERT_TRUE(readDivisorFile(path, reread));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reread.d[i].compare(products.d[i]), 0);
    fs::remove_all(dir);
}

TEST(DivisorProducts, unwritable_directory_reports_failure_and_leaves_nothing)
{
    EXPECT_FALSE(writeDivisorFile("/nonexistent-dir/base.div", {"1", "2", "3"}));
    DivisorProducts products;
    EXPECT_FALSE(readDivisorFile("/nonexistent-dir/base.div", products));
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
