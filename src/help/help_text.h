#pragma once
// Splitting a help text into results-list lines. No window.
#include <string>
#include <string_view>
#include <vector>

namespace help {

// At every line feed when the text has one (a CR before it stays with its
// line), otherwise at every CR LF pair, which leaves the text whole. k
// separators give k + 1 lines, however many there are.
std::vector<std::string_view> splitHelpText(std::string_view text);

}  // namespace help
