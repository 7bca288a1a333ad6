#include "engine/prime_confirmation.h"

#include <thread>

#include "engine/big_integer.h"

namespace engine {

namespace {

// The rounds mpz_probab_prime_p runs as the Baillie-PSW test.
constexpr int kBailliePswRounds = 24;

}  // namespace

bool passesBailliePsw(mpz_srcptr n) { return mpz_probab_prime_p(n, kBailliePswRounds) > 0; }

// As GMP's mpz_millerrabin runs its rounds beyond the Baillie-PSW test: base
// 3 + a uniform draw below (n - 5) / 2, from a default generator just
// initialised.
bool passesGmpsRandomRound(mpz_srcptr n)
{
    BigInt half, odd, base, y;
    mpz_tdiv_q_2exp(half.get(), n, 1);  // (n - 1) / 2
    const mp_bitcnt_t twos = mpz_scan1(half.get(), 0) + 1;
    mpz_tdiv_q_2exp(odd.get(), half.get(), twos - 1);
    mpz_sub_ui(half.get(), half.get(), 2);
    gmp_randstate_t random;
    gmp_randinit_default(random);
    mpz_urandomm(base.get(), random, half.get());
    gmp_randclear(random);
    mpz_add_ui(base.get(), base.get(), 3);

    BigInt minusOne;
    mpz_sub_ui(minusOne.get(), n, 1);
    mpz_powm(y.get(), base.get(), odd.get(), n);
    if (mpz_cmp_ui(y.get(), 1) == 0 || mpz_cmp(y.get(), minusOne.get()) == 0)
        return true;
    for (mp_bitcnt_t i = 1; i < twos; ++i) {
        mpz_powm_ui(y.get(), y.get(), 2, n);
        if (mpz_cmp(y.get(), minusOne.get()) == 0)
            return true;
        if (mpz_cmp_ui(y.get(), 1) <= 0)
            return false;
    }
    return false;
}

bool confirmedPrime(mpz_srcptr n, unsigned threads)
{
    // Up to 64 bits GMP's test is exact and stops after Baillie-PSW.
    if (mpz_sizeinbase(n, 2) <= 64 || threads < 2)
        return mpz_probab_prime_p(n, kBailliePswRounds + 1) > 0;
    bool round = false;
    std::thread beside([&] { round = passesGmpsRandomRound(n); });
    const bool bailliePsw = passesBailliePsw(n);
    beside.join();
    return bailliePsw && round;
}

}  // namespace engine
