#pragma once
// Residue registers as GMP integers (the arithmetic below the FFT
// crossover). Minimal version for the fft-core branch; the tester-longrun
// branch has the real one (it wins at the merge).
#include <memory>

#include "modular_arithmetic.h"

namespace prp {

std::unique_ptr<ModularArithmetic> makeGmpArithmetic(mpz_srcptr n, int registers);

}  // namespace prp
