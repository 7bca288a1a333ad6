#include "cli/quoted_text.h"

#include <cstdio>

namespace cli {

namespace {

constexpr size_t kLongestShown = 60;
constexpr size_t kHeadShown = 40;
constexpr size_t kTailShown = 12;

bool continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the well-formed UTF-8 sequence at offset (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when there is none.
size_t sequenceLength(std::string_view text, size_t offset)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[offset + k]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (offset + length > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k)
        if (!continuation(byte(k)))
            return 0;
    return length;
}

std::string hexEscape(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02x", byte);
    return text;
}

// Characters from offset on, up to `count` of them, appended escaped; returns
// the offset after the last one taken.
size_t appendShown(std::string& out, std::string_view text, size_t offset, size_t count)
{
    for (size_t taken = 0; taken < count && offset < text.size(); ++taken) {
        ShownCharacter c = characterAt(text, offset);
        out += c.shown;
        offset += c.bytes;
    }
    return offset;
}

size_t characterCount(std::string_view text)
{
    size_t count = 0;
    for (size_t offset = 0; offset < text.size(); ++count) {
        const size_t length = sequenceLength(text, offset);
        offset += length == 0 ? 1 : length;
    }
    return count;
}

}  // namespace

ShownCharacter characterAt(std::string_view text, size_t offset)
{
    const unsigned char byte = static_cast<unsigned char>(text[offset]);
    switch (byte) {
    case '\n':
        return {"\\n", 1};
    case '\r':
        return {"\\r", 1};
    case '\t':
        return {"\\t", 1};
    case '\\':
        return {"\\\\", 1};
    case '\'':
        return {"\\'", 1};
    default:
        break;
    }
    const size_t length = sequenceLength(text, offset);
    if (length == 0 || byte < 0x20 || byte == 0x7F)
        return {hexEscape(byte), 1};
    // C1 control characters (U+0080..U+009F) move a terminal's cursor too.
    if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[offset + 1]) < 0xA0)
        return {hexEscape(byte) + hexEscape(static_cast<unsigned char>(text[offset + 1])), 2};
    return {std::string(text.substr(offset, length)), length};
}

std::string quotedText(std::string_view text)
{
    const size_t total = characterCount(text);
    std::string out(1, '\'');
    if (total <= kLongestShown) {
        appendShown(out, text, 0, total);
        out.push_back('\'');
        return out;
    }
    appendShown(out, text, 0, kHeadShown);
    out += "...";
    // The last characters: skip to them by counting from the front, so that
    // a byte that is not UTF-8 counts as one character both ways.
    size_t tailStart = 0;
    for (size_t skipped = 0; skipped < total - kTailShown; ++skipped) {
        const size_t length = sequenceLength(text, tailStart);
        tailStart += length == 0 ? 1 : length;
    }
    appendShown(out, text, tailStart, kTailShown);
    out += "' (" + withThousands(static_cast<long long>(total)) + " characters)";
    return out;
}

std::string oneLine(std::string_view text)
{
    constexpr size_t kLongestMessage = 200;
    std::string out;
    size_t offset = 0;
    for (size_t count = 0; offset < text.size() && count < kLongestMessage; ++count) {
        const ShownCharacter c = characterAt(text, offset);
        // Quotes and backslashes need no escape outside a quoted text.
        if (text[offset] == '\'' || text[offset] == '\\')
            out.push_back(text[offset]);
        else
            out += c.shown;
        offset += c.bytes;
    }
    if (offset < text.size())
        out += "...";
    return out;
}

std::string withThousands(long long value)
{
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    const std::string digits = std::to_string(magnitude);
    std::string out = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

}  // namespace cli
