#pragma once
// Residue registers as GMP integers. Reduction is by folding at bit q when
// N = 2^q - 1, otherwise by Barrett reduction with the reciprocal of N
// computed once: mpz_tdiv_r would recompute that reciprocal on every call,
// which at these sizes costs more than the square itself.
#include <memory>

#include "arithmetic/modular_arithmetic.h"

namespace arithmetic {

std::unique_ptr<ModularArithmetic> makeGmpArithmetic(mpz_srcptr n, int registers);

// True for the arithmetic above: callers then know that plain mpz_powm,
// faster at small sizes, computes the very same residues.
bool isGmpArithmetic(const ModularArithmetic& arithmetic);

}  // namespace arithmetic
