// The tester's GMP register loop against mpz_powm, per exponent bit, at the
// sizes around the switch from one to the other (100,000 bits): random odd
// N, base 3, the top bits of N-1 as the exponent. The register loop is what
// the Gerbicz-checked powering runs (a square, and a multiplySmall on a 1
// bit); the check adds 5/sqrt(bits) of that, printed beside it. Build it
// against Debian's GMP and against the one built for this processor
// (QUENDROLT_NATIVE_GMP=1 scripts/setup.sh) to compare the two. Times are
// processor times: steadier than wall time on a machine shared with others.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "arithmetic/big_integer.h"
#include "arithmetic/gmp_arithmetic.h"

namespace {

using arithmetic::BigInt;

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

struct PerBit {
    double powm = 1e9;
    double registers = 1e9;
};

PerBit measure(unsigned bits, unsigned exponentBits, gmp_randstate_t random)
{
    BigInt n, exponent, base(3), residue;
    mpz_urandomb(n.get(), random, bits);
    mpz_setbit(n.get(), bits - 1);
    mpz_setbit(n.get(), 0);
    mpz_sub_ui(exponent.get(), n.get(), 1);
    mpz_tdiv_q_2exp(exponent.get(), exponent.get(), bits - exponentBits);

    PerBit best;
    for (int round = 0; round < 3; ++round) {
        double start = processorSeconds();
        mpz_powm(residue.get(), base.get(), exponent.get(), n.get());
        best.powm = std::min(best.powm, (processorSeconds() - start) / exponentBits);

        auto arithmetic = arithmetic::makeGmpArithmetic(n.get(), 1);
        BigInt one(1), check;
        arithmetic->set(0, one.get());
        start = processorSeconds();
        for (unsigned bit = exponentBits; bit-- > 0;) {
            arithmetic->square(0);
            if (mpz_tstbit(exponent.get(), bit))
                arithmetic->multiplySmall(0, 3);
        }
        best.registers = std::min(best.registers, (processorSeconds() - start) / exponentBits);
        arithmetic->get(0, check.get());
        if (mpz_cmp(check.get(), residue.get()) != 0)
            std::printf("  MISMATCH at %u bits\n", bits);
    }
    return best;
}

}  // namespace

int main()
{
    std::printf("GMP %s: base-3 powering modulo random odd N, microseconds per exponent bit (best of 3)\n",
                gmp_version);
    std::printf("  N bits     mpz_powm   registers   ratio   + Gerbicz check\n");
    gmp_randstate_t random;
    gmp_randinit_default(random);
    const unsigned sizes[][2] = {{10'000, 4000}, {30'000, 2000}, {50'000, 1000}, {100'000, 500}, {200'000, 250}};
    for (const auto& [bits, exponentBits] : sizes) {
        PerBit perBit = measure(bits, exponentBits, random);
        double overhead = 5.0 / std::sqrt(static_cast<double>(bits));
        std::printf("  %7u  %9.1f   %9.1f   %5.2f   %5.2f (+%.1f %%)\n", bits, 1e6 * perBit.powm,
                    1e6 * perBit.registers, perBit.registers / perBit.powm,
                    perBit.registers * (1 + overhead) / perBit.powm, 100 * overhead);
    }
    gmp_randclear(random);
    return 0;
}
