#include "cli/sieve_time.h"

#include <cmath>
#include <iterator>

namespace cli {

namespace {

// gp's factor (factorint, one thread) on p*q, p and q of half the digits
// each, on this project's 2-core build machine under load (processor time):
struct Measured {
    size_t digits;
    double seconds;
};
constexpr Measured kMeasured[] = {
    {40, 0.026}, {45, 0.072}, {50, 0.236}, {55, 0.822}, {60, 2.38}, {65, 7.72}, {70, 24.5}, {72, 35.3},
};
// Beyond the table: the growth from 60 to 70 digits, x 3.2 every 5 digits.
constexpr double kGrowthPerDigit = 1.262;

}  // namespace

double predictedSieveSeconds(size_t digits)
{
    const Measured* first = std::begin(kMeasured);
    const Measured* last = std::end(kMeasured) - 1;
    if (digits <= first->digits)
        return first->seconds;
    if (digits >= last->digits)
        return last->seconds * std::pow(kGrowthPerDigit, static_cast<double>(digits - last->digits));
    for (const Measured* below = first; below != last; ++below) {
        const Measured* above = below + 1;
        if (digits <= above->digits) {
            // Geometric between the two measured sizes.
            double share = static_cast<double>(digits - below->digits) / static_cast<double>(above->digits - below->digits);
            return below->seconds * std::pow(above->seconds / below->seconds, share);
        }
    }
    return last->seconds;
}

}  // namespace cli
