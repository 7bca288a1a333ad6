#pragma once
// The single result line on standard output, in the forms prime hunters'
// tools print and the calling program searches for ("is 3-PRP!",
// "is composite", "has factors", "has no small factor").
#include <cstdint>
#include <string>
#include <vector>

namespace prp {

// The number as the line names it: whole below 36 digits, otherwise its
// first 16 digits, "....", its last 16.
std::string numberLabel(const std::string& digits);

// " (<test>s+<overhead>s)"
std::string timingSuffix(double testSeconds, double overheadSeconds);

// 16 upper-case hex digits, zero-padded.
std::string res64Text(uint64_t residue);

std::string probablePrimeLine(const std::string& label, unsigned long base, double testSeconds,
                              double overheadSeconds);
std::string provenPrimeLine(const std::string& label, const std::string& proof, double testSeconds,
                            double overheadSeconds);
std::string compositeLine(const std::string& label, uint64_t residue, double testSeconds, double overheadSeconds);
std::string belowTwoLine(const std::string& label);
std::string factorsLine(const std::string& label, const std::vector<std::string>& factors);
std::string noSmallFactorLine(const std::string& label, uint64_t depth);

}  // namespace prp
