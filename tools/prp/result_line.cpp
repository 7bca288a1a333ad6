#include "result_line.h"

#include <cinttypes>
#include <cstdio>

namespace prp {

namespace {

constexpr size_t kWholeLabelBelow = 36;
constexpr size_t kLabelEndLength = 16;

}  // namespace

std::string numberLabel(const std::string& digits)
{
    if (digits.size() < kWholeLabelBelow)
        return digits;
    return digits.substr(0, kLabelEndLength) + "...." + digits.substr(digits.size() - kLabelEndLength);
}

std::string timingSuffix(double testSeconds, double overheadSeconds)
{
    char text[64];
    std::snprintf(text, sizeof text, " (%.4fs+%.4fs)", testSeconds, overheadSeconds);
    return text;
}

std::string res64Text(uint64_t residue)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIX64, residue);
    return text;
}

std::string probablePrimeLine(const std::string& label, unsigned long base, double testSeconds,
                              double overheadSeconds)
{
    return label + " is " + std::to_string(base) + "-PRP!" + timingSuffix(testSeconds, overheadSeconds);
}

std::string provenPrimeLine(const std::string& label, const std::string& proof, double testSeconds,
                            double overheadSeconds)
{
    // "is PRP!" keeps the line recognisable to callers that only know the
    // probable-prime keywords; the note says it is in fact a proof.
    return label + " is PRP! (proven prime by " + proof + ")" + timingSuffix(testSeconds, overheadSeconds);
}

std::string compositeLine(const std::string& label, uint64_t residue, double testSeconds, double overheadSeconds)
{
    return label + " is composite: RES64: [" + res64Text(residue) + "]" + timingSuffix(testSeconds, overheadSeconds);
}

std::string belowTwoLine(const std::string& label)
{
    // Neither prime nor composite, but "not prime" is the verdict a caller
    // needs, and "is composite" is the keyword that carries it.
    return label + " is composite: numbers below 2 are not prime";
}

std::string factorsLine(const std::string& label, const std::vector<std::string>& factors)
{
    std::string line = label + " has factors: ";
    for (size_t i = 0; i < factors.size(); ++i) {
        if (i > 0)
            line += '*';
        line += factors[i];
    }
    return line;
}

std::string noSmallFactorLine(const std::string& label, uint64_t depth)
{
    return label + " has no small factor. (trial factoring to " + std::to_string(depth) + ")";
}

}  // namespace prp
