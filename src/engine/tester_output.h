#pragma once
// What the runner reads from the tester's standard output: which lines count
// as result lines, how a result line is shortened for the results list, and
// which verdict code it stands for. Plain text in, text or a code out.
#include <optional>
#include <string>
#include <string_view>

#include "engine/verdict.h"

namespace engine {

// A raw output line with every CR removed and blanks trimmed at both ends.
std::string cleanOutputLine(std::string_view raw);

// True when the line holds one of the keywords that make a result line.
bool isResultLine(std::string_view line);

// The line from its keyword on (the number before it dropped) when the
// keyword stands after a blank; otherwise the line unchanged.
std::string summariseResultLine(std::string_view line);

// Verdict of the hidden check for its last result line: CouldBePrime for a
// probable prime, PossiblePrime for no small factor, IsComposite; NotDone
// when the output held no result line the check understands.
[[nodiscard]] Verdict verdictFromResultLine(std::string_view line);

// "PRP 41.7%, 1m12s left" from a progress line of the tester ("PRP test to
// base 3: 41.7% done, 1234 steps/s, 1m12s left"); nothing for other lines.
std::optional<std::string> progressSummary(std::string_view line);

}  // namespace engine
