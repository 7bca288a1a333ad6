#pragma once
// The next and previous prime searches, as the calculator's NextP and PrevP.
// One process calls the engine's searches directly. Under mpirun the
// candidates beyond n are cut into blocks dealt round-robin to the ranks:
// block b goes to rank b mod N. After each round every rank reports the
// lowest block in which it found a prime; the lowest over all ranks is the
// answer, since every lower block has been searched and held none. So the
// result is the nearest prime whatever N, and every rank stops at the end of
// the round that finds it.
#include "cli/progress.h"
#include "cli/ranks.h"
#include "engine/big_integer.h"
#include "engine/candidate_sieve.h"

namespace cli {

void searchPrime(engine::BigInt& n, engine::SearchDirection direction, Ranks& ranks, Progress& progress);

}  // namespace cli
