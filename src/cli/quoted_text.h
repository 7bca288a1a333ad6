#pragma once
// Text from the command line, a file or standard input as a message shows
// it: one line whatever it holds. Control characters and bytes that are not
// UTF-8 become escapes (\n, \t, \xff), and a long text keeps only its ends.
#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// The text between single quotes, escaped; beyond 60 characters only its
// first 40 and last 12, with the count between them.
std::string quotedText(std::string_view text);

// A message from elsewhere (the option parser) made one line of UTF-8 the
// same way, without quotes; beyond 200 characters cut with "...".
std::string oneLine(std::string_view text);

// The character that starts at byte `offset` of text (a whole UTF-8
// sequence, or one byte that is not one), escaped as quotedText() escapes it.
struct ShownCharacter {
    std::string shown;
    size_t bytes = 1;  // bytes the character takes in text
};
ShownCharacter characterAt(std::string_view text, size_t offset);

// "1,234,567"
std::string withThousands(long long value);

}  // namespace cli
