#include "engine/divisor_products.h"

#include <thread>
#include <vector>

#include "engine/decimal_text.h"
#include "engine/prime_tables.h"

namespace engine {

namespace {

// Product of primes[first, last) by a balanced tree: each level multiplies
// numbers of equal size, so GMP's fast multiplication does the heavy work.
void productTree(const std::vector<unsigned>& primes, size_t first, size_t last, mpz_ptr out)
{
    if (last - first <= 16) {
        mpz_set_ui(out, 1);
        for (size_t i = first; i < last; ++i)
            mpz_mul_ui(out, out, primes[i]);
        return;
    }
    size_t middle = first + (last - first) / 2;
    BigInt right;
    productTree(primes, first, middle, out);
    productTree(primes, middle, last, right.get());
    mpz_mul(out, out, right.get());
}

template <typename Work>
void inParallel(Work work)
{
    std::thread second([&] { work(1); });
    std::thread third([&] { work(2); });
    work(0);
    second.join();
    third.join();
}

}  // namespace

void buildDivisorProducts(DivisorProducts& out, const std::array<size_t, 3>& rankEnds)
{
    std::vector<unsigned> primes = firstPrimes(rankEnds[2]);
    size_t starts[3] = {0, rankEnds[0], rankEnds[1]};
    inParallel([&](int i) { productTree(primes, starts[i], rankEnds[static_cast<size_t>(i)], out.d[i].get()); });
}

void buildDivisorProductsLiterally(DivisorProducts& out, const std::array<size_t, 3>& rankEnds)
{
    BigInt p(2UL);
    size_t rank = 1;
    for (int i = 0; i < 3; ++i) {
        out.d[i].set(1UL);
        for (; rank <= rankEnds[static_cast<size_t>(i)]; ++rank) {
            mpz_mul(out.d[i].get(), out.d[i].get(), p.get());
            mpz_nextprime(p.get(), p.get());
        }
    }
}

std::array<std::string, 3> divisorTexts(const DivisorProducts& products)
{
    std::array<std::string, 3> texts;
    inParallel([&](int i) { texts[static_cast<size_t>(i)] = toDecimal(products.d[i]); });
    return texts;
}

bool hasExpectedShape(const DivisorProducts& products)
{
    for (size_t i = 0; i < 3; ++i)
        if (decimalDigitCount(products.d[i]) != kDivisorProductDigits[i])
            return false;
    return true;
}

}  // namespace engine
