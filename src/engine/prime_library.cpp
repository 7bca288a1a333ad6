#include "engine/prime_library.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace engine {

namespace {

constexpr unsigned kSmallPrimeLimit = 2000;
constexpr int kRepetitions = 25;

std::vector<unsigned> gSmallPrimes;
std::once_flag gInitOnce;

void fillSmallPrimes()
{
    std::vector<bool> composite(kSmallPrimeLimit + 1, false);
    for (unsigned p = 3; p <= kSmallPrimeLimit; p += 2) {
        if (composite[p])
            continue;
        gSmallPrimes.push_back(p);
        for (unsigned q = p * p; q <= kSmallPrimeLimit; q += 2 * p)
            composite[q] = true;
    }
}

}  // namespace

void primeLibraryInit() { std::call_once(gInitOnce, fillSmallPrimes); }

void previousPrimeStepwise(mpz_ptr n)
{
    primeLibraryInit();
    if (mpz_cmp_ui(n, 2) <= 0) {
        mpz_set_ui(n, 0);
        return;
    }
    if (mpz_cmp_ui(n, 3) == 0) {
        mpz_set_ui(n, 2);
        return;
    }
    // Largest odd number below n, then walk down by 2, skipping candidates
    // that a small prime divides (tracked by residues, no division per step).
    mpz_sub_ui(n, n, 1);
    if (mpz_even_p(n))
        mpz_sub_ui(n, n, 1);
    std::vector<unsigned> residues(gSmallPrimes.size());
    for (;;) {
        for (size_t i = 0; i < gSmallPrimes.size(); ++i)
            residues[i] = static_cast<unsigned>(mpz_fdiv_ui(n, gSmallPrimes[i]));
        for (unsigned step = 0; step < 0x10000; step += 2) {
            bool smallFactor = false;
            for (size_t i = 0; i < gSmallPrimes.size() && !smallFactor; ++i) {
                unsigned p = gSmallPrimes[i];
                unsigned r = (residues[i] + p - step % p) % p;
                smallFactor = r == 0 && mpz_cmp_ui(n, p + step) != 0;
            }
            if (smallFactor)
                continue;
            mpz_sub_ui(n, n, step);
            if (mpz_probab_prime_p(n, kRepetitions) > 0)
                return;
            mpz_add_ui(n, n, step);
        }
        mpz_sub_ui(n, n, 0x10000);
    }
}

}  // namespace engine
