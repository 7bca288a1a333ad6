#include "cli/ecm_search.h"

#include <ecm.h>
#include <iterator>

namespace cli {

namespace {

using engine::BigInt;
using Clock = std::chrono::steady_clock;

constexpr int kPrimeRepetitions = 25;

// GMP-ECM's table of B1 and expected curves by the digits of the factor
// sought: each level finds a factor of that size with good odds.
struct Level {
    double b1;
    int curves;
};
constexpr Level kLevels[] = {
    {2e3, 25},     {11e3, 90},     {5e4, 300},     {25e4, 700},     {1e6, 1800},      {3e6, 5100},
    {11e6, 10600}, {43e6, 19300},  {11e7, 49000},  {26e7, 124000},  {85e7, 210000},
};

bool isProbablePrime(const BigInt& n) { return mpz_probab_prime_p(n.get(), kPrimeRepetitions) > 0; }

// GMP-ECM asks this between steps of a curve; it takes no argument, so the
// deadline of the run is kept here.
Clock::time_point deadline;
int stopWhenDue() { return Clock::now() >= deadline ? 1 : 0; }

// One curve; true with a proper factor of n in factor.
bool oneCurve(BigInt& factor, const BigInt& n, double b1)
{
    ecm_params params;
    ecm_init(params);
    params->stop_asap = stopWhenDue;
    const int found = ecm_factor(factor.get(), const_cast<mpz_ptr>(n.get()), b1, params);
    ecm_clear(params);
    return found > 0 && mpz_cmp_ui(factor.get(), 1) > 0 && mpz_cmp(factor.get(), n.get()) < 0;
}

class EcmRun {
public:
    explicit EcmRun(const EcmBudget& budget) : budget_(budget) { deadline = budget.deadline; }

    void splitComposite(BigInt n, std::vector<FactorPart>& parts)
    {
        BigInt factor;
        if (!findFactor(factor, n)) {
            parts.push_back({std::move(n), PartKind::Composite});
            return;
        }
        BigInt rest;
        mpz_divexact(rest.get(), n.get(), factor.get());
        split(std::move(factor), parts);
        split(std::move(rest), parts);
    }

private:
    void split(BigInt n, std::vector<FactorPart>& parts)
    {
        if (isProbablePrime(n))
            parts.push_back({std::move(n), PartKind::Prime});
        else
            splitComposite(std::move(n), parts);
    }

    bool budgetLeft() const
    {
        return Clock::now() < budget_.deadline && (budget_.curves == 0 || curvesRun_ < budget_.curves);
    }

    // Levels continue where the previous factor search stopped: the smaller
    // factors are known to be gone from the parts that are left.
    bool findFactor(BigInt& factor, const BigInt& n)
    {
        while (budgetLeft()) {
            const Level& level = kLevels[levelIndex_];
            ++curvesRun_;
            ++curvesAtLevel_;
            if (oneCurve(factor, n, level.b1))
                return true;
            if (curvesAtLevel_ >= level.curves && levelIndex_ + 1 < std::size(kLevels)) {
                ++levelIndex_;
                curvesAtLevel_ = 0;
            }
        }
        return false;
    }

    const EcmBudget& budget_;
    size_t levelIndex_ = 0;
    int64_t curvesAtLevel_ = 0;
    int64_t curvesRun_ = 0;
};

}  // namespace

std::vector<FactorPart> splitWithEcm(const BigInt& composite, const EcmBudget& budget)
{
    std::vector<FactorPart> parts;
    BigInt n;
    n.set(composite);
    EcmRun(budget).splitComposite(std::move(n), parts);
    return parts;
}

}  // namespace cli
