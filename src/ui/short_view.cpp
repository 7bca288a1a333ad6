#include "ui/short_view.h"

#include <algorithm>

namespace ui {

namespace {

// The block "124" + three-digit character codes + "124" right after the first
// digit. Returns the decoded text, or empty when there is no complete block.
std::string decodeSignature(std::string_view s)
{
    const size_t c = s.size();
    if (c < 8 || s.substr(1, 3) != "124")
        return {};
    std::string decoded;
    // 0-based k; the first code starts at position 5 (1-based).
    for (size_t k = 4; k + 1 <= c - 2; k += 3) {
        std::string_view code = s.substr(k, 3);
        if (code == "124")
            return decoded;
        int v = 0;
        for (char ch : code) {
            if (ch < '0' || ch > '9')
                return {};
            v = v * 10 + (ch - '0');
        }
        if (v < 32 || v > 126)
            return {};
        decoded.push_back(static_cast<char>(v));
    }
    return {};
}

}  // namespace

ShortView shortView(std::string_view s, int width)
{
    const size_t c = s.size();
    const size_t w = static_cast<size_t>(std::max(width, 1));
    ShortView view;
    view.signature = decodeSignature(s);
    std::string prefix;
    std::string_view body = s;
    if (!view.signature.empty()) {
        prefix = std::string(1, s[0]) + view.signature;
        size_t blockEnd = 3 * view.signature.size() + 7;
        body = s.substr(std::min(blockEnd, c));
    }
    if (c > w) {
        long f = static_cast<long>(w) - static_cast<long>(prefix.size()) - 3;
        long tail = std::max(1L, static_cast<long>(static_cast<double>(f) * 0.3));
        long head = std::max(1L, f - static_cast<long>(static_cast<double>(f) * 0.3));
        view.text = prefix;
        view.text.append(body.substr(0, static_cast<size_t>(head)));
        view.text.append("...");
        view.text.append(s.substr(c - std::min(c, static_cast<size_t>(tail))));
    } else {
        view.text = prefix;
        view.text.append(body);
        if (view.text.size() > w)
            view.text.resize(w);
    }
    return view;
}

}  // namespace ui
