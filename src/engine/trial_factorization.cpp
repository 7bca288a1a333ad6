#include "engine/trial_factorization.h"

#include <vector>

#include "engine/decimal_text.h"
#include "engine/prime_tables.h"

namespace engine {

namespace {

// Below this bound p * p fits in 64 bits with room to spare.
constexpr uint64_t kSquareIn64Bits = 3000000000ULL;
constexpr int kRemainderRepetitions = 10;

uint64_t as64Bits(const BigInt& p) { return mpz_fits_ulong_p(p.get()) ? mpz_get_ui(p.get()) : 0; }

// The primes the default pass limit can reach, sieved once: a table step is
// far cheaper than a nextprime call, and the loop makes up to 100,000 of them.
const std::vector<unsigned>& trialPrimes()
{
    static const std::vector<unsigned> primes = firstPrimes(static_cast<size_t>(kFactorStepLimit) + 1);
    return primes;
}

// p becomes the next prime after p, the prime of the given rank (0 for 2).
void stepToNextPrime(BigInt& p, size_t& rank)
{
    const std::vector<unsigned>& primes = trialPrimes();
    ++rank;
    if (rank < primes.size())
        p.set(static_cast<unsigned long>(primes[rank]));
    else
        mpz_nextprime(p.get(), p.get());
}

bool squareExceeds(const BigInt& p, uint64_t pv, const BigInt& m, BigInt& square)
{
    if (pv > 0 && pv < kSquareIn64Bits)
        return mpz_cmp_ui(m.get(), pv * pv) < 0;
    mpz_mul(square.get(), p.get(), p.get());
    return mpz_cmp(square.get(), m.get()) > 0;
}

class FactorListBuilder {
public:
    void add(const std::string& factor)
    {
        if (!result_.factors.empty())
            result_.factors.push_back(' ');
        result_.factors += factor;
        ++result_.count;
    }
    TrialFactorization& result() { return result_; }

private:
    TrialFactorization result_;
};

}  // namespace

TrialDivision divideOutSmallPrimes(const BigInt& n, int64_t stepLimit, const std::function<bool(int64_t)>& keepGoing)
{
    TrialDivision result;
    BigInt& m = result.remainder;
    m.set(n);
    BigInt p(2);
    BigInt square;
    size_t rank = 0;
    int64_t steps = 0;
    for (;;) {
        uint64_t pv = as64Bits(p);
        if (++steps > stepLimit) {
            result.end = m.compare(1UL) > 0 ? TrialEnd::PassLimit : TrialEnd::Factored;
            return result;
        }
        if (keepGoing && steps % kPassesPerCheck == 0 && !keepGoing(steps)) {
            result.end = TrialEnd::Stopped;
            return result;
        }
        if (squareExceeds(p, pv, m, square)) {
            result.end = m.compare(1UL) > 0 ? TrialEnd::RemainderPrime : TrialEnd::Factored;
            return result;
        }
        if (mpz_divisible_ui_p(m.get(), pv)) {
            result.primes.push_back(pv);
            mpz_tdiv_q_ui(m.get(), m.get(), pv);
        } else {
            stepToNextPrime(p, rank);
            if (as64Bits(p) == 0) {
                result.end = m.compare(1UL) > 0 ? TrialEnd::BeyondWordPrimes : TrialEnd::Factored;
                return result;
            }
        }
        if (m.compare(1UL) <= 0) {
            result.end = TrialEnd::Factored;
            return result;
        }
    }
}

TrialFactorization factorByTrialDivision(const BigInt& n, int64_t stepLimit)
{
    const TrialDivision division = divideOutSmallPrimes(n, stepLimit);
    FactorListBuilder list;
    for (uint64_t prime : division.primes)
        list.add(std::to_string(prime));
    const BigInt& m = division.remainder;
    switch (division.end) {
    case TrialEnd::Factored:
    case TrialEnd::Stopped:
        break;
    case TrialEnd::RemainderPrime:
    case TrialEnd::BeyondWordPrimes:
        list.add(toDecimal(m));
        break;
    case TrialEnd::PassLimit:
        // The pass limit stops the search, not the number: what is left is
        // still part of it and is listed, marked when it is known to be
        // composite.
        if (mpz_probab_prime_p(m.get(), kRemainderRepetitions) > 0) {
            list.add(toDecimal(m));
        } else {
            std::string bracketed(1, '[');
            bracketed.append(toDecimal(m)).push_back(']');
            list.add(bracketed);
            list.result().compositeRemainder = true;
        }
        break;
    }
    TrialFactorization& result = list.result();
    result.onlyFactorIsTheNumber = result.count == 1 && !result.compositeRemainder && result.factors == toDecimal(n);
    return result;
}

}  // namespace engine
