// Which arithmetic serves N. Only GMP so far; the FFT products take over
// above their crossover.
#include "gmp_arithmetic.h"
#include "modular_arithmetic.h"

namespace prp {

std::unique_ptr<ModularArithmetic> makeModularArithmetic(mpz_srcptr n, int registers, unsigned /*threads*/)
{
    return makeGmpArithmetic(n, registers);
}

}  // namespace prp
