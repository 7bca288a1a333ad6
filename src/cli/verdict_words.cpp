#include "cli/verdict_words.h"

#include <array>

namespace cli {

const std::string& verdictWord(int code)
{
    static const std::array<std::string, 6> words = {"NOT prime",    "It could be a prime", "Is prime",
                                                     "Is composite", "Possible prime",      "Not done"};
    static const std::string none;
    return code >= 0 && code < static_cast<int>(words.size()) ? words[static_cast<size_t>(code)] : none;
}

}  // namespace cli
