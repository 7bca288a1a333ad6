#pragma once
// What a primality check or an abandoned run comes to, and the words the
// window and the command line show for it. One list, so that a verdict reads
// the same wherever it is shown.
#include <cstdint>
#include <string_view>

namespace engine {

// The numbers are the codes the generator's report line shows.
enum class Verdict {
    NotPrime = 0,
    CouldBePrime = 1,
    IsPrime = 2,
    IsComposite = 3,
    PossiblePrime = 4,
    NotDone = 5,
    Timeout = 6,
    Stopped = 7,
    NoSmallFactor = 8,
};

// "NOT prime", "It could be a prime", "Is prime", "Is composite",
// "Possible prime", "Not done", "Timeout", "Processing has been stopped",
// "Has no small factor".
std::string_view verdictWord(Verdict verdict);

// What a check says of a number the first check (the divisor products)
// rejects; not a verdict code, only a line.
inline constexpr std::string_view kDefinitelyNotPrime = "Definitely not a prime number";

// How a check decides, the window's and the command line's alike: up to
// "Large numbers start" digits GMP's probable-prime test with this many
// repetitions; above it the first check, then the tester.
inline constexpr int kProbablePrimeRepetitions = 10;
inline constexpr bool checkedByTester(int64_t digits, int64_t largeNumbersStart) { return digits > largeNumbersStart; }

// GMP's answer of mpz_probab_prime_p: 0 composite, 1 probably prime, 2 prime.
[[nodiscard]] Verdict verdictOfProbablePrimeTest(int gmpAnswer);

}  // namespace engine
