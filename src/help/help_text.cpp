#include "help/help_text.h"

namespace help {

std::vector<std::string_view> splitHelpText(std::string_view text)
{
    const std::string_view separator = text.find('\n') != std::string_view::npos ? "\n" : "\r\n";
    std::vector<std::string_view> lines;
    size_t begin = 0;
    for (;;) {
        const size_t at = text.find(separator, begin);
        if (at == std::string_view::npos) {
            lines.push_back(text.substr(begin));
            return lines;
        }
        lines.push_back(text.substr(begin, at - begin));
        begin = at + separator.size();
    }
}

}  // namespace help
