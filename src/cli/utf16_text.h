#pragma once
// Command-line text arrives as UTF-8; the signature encoder takes UTF-16
// units, as the window's text field holds them.
#include <string>
#include <string_view>

namespace cli {

// Throws BadInput on a byte sequence that is not UTF-8.
std::u16string utf16FromUtf8(std::string_view text);

}  // namespace cli
