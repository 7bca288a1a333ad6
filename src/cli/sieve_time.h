#pragma once
// Where factor hands a composite part to PARI's factorint (Pollard rho,
// SQUFOF, ECM and the quadratic sieve, MPQS) and where it keeps to GMP-ECM.
// For two factors of equal size the sieve is the right tool, and its time
// depends on the size of the part alone; ECM's on the size of the smallest
// factor. So a part goes to PARI when the sieve's predicted time fits in
// what is left of the time budget (after a short ECM pass for small
// factors); a larger part gets ECM, which may still find a small factor,
// and its cofactors are judged again.
#include <cstddef>

namespace cli {

// Processor seconds of factorint on a balanced semiprime of that many
// digits (measured, see sieve_time.cpp); grows about 3.2 times every 5
// digits.
double predictedSieveSeconds(size_t digits);

// Before the sieve, ECM looks for small factors for this share of the
// sieve's predicted time.
constexpr double kEcmPassShareOfSieve = 0.1;

}  // namespace cli
