#pragma once
// How a number is shown in one line: the whole number when it fits the width,
// otherwise its head, "..." and its tail; a signature block after the first
// digit is decoded and shown as text.
#include <string>
#include <string_view>

namespace ui {

struct ShortView {
    std::string text;
    std::string signature;  // decoded signature, empty when there is none
};

ShortView shortView(std::string_view number, int width);

// Width of the "Number > " lines and of the status line of the current number.
constexpr int kListViewWidth = 113;
constexpr int kStatusViewWidth = 99;

}  // namespace ui
