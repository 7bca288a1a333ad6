#include "cli/utf16_text.h"

#include "cli/failure.h"

namespace cli {

namespace {

size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

}  // namespace

std::u16string utf16FromUtf8(std::string_view text)
{
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size())
            throw BadInput("the signature is not valid UTF-8 text");
        char32_t code = static_cast<unsigned char>(text[i]) & kLeadMask[length];
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                throw BadInput("the signature is not valid UTF-8 text");
            code = (code << 6) | (next & 0x3F);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += length;
    }
    return out;
}

}  // namespace cli
