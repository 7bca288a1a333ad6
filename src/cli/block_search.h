#pragma once
// The next and previous prime searches, as the calculator's NextP and PrevP,
// on every rank and every thread of each.
//
// One process runs the engine's search. Under mpirun with several ranks the
// ranks run its steps together: the leader plans the search (depth and
// interval, from costs measured on the number's size) and every rank takes
// it; each rank sieves by its share of the sieving primes and the marks of
// all are combined, so every rank holds the same survivors; survivor i is
// tested by rank i mod N. The ranks go in rounds of a few tests each and
// then agree on the lowest survivor that passed: every survivor before it
// has failed on some rank, so the answer is the nearest probable prime
// whatever N, the very one a single process finds.
#include "cli/progress.h"
#include "cli/ranks.h"
#include "engine/big_integer.h"
#include "engine/candidate_sieve.h"

namespace cli {

// n becomes the prime beyond it; `threads` of each rank (0: every core, as
// the engine chooses).
void searchPrime(engine::BigInt& n, engine::SearchDirection direction, Ranks& ranks, unsigned threads,
                 Progress& progress);

}  // namespace cli
