#include "engine/signature_block.h"

namespace engine {

namespace {

struct FoldRange {
    char16_t first;
    char16_t last;
    char16_t base;
};

constexpr FoldRange kFolds[] = {
    {192, 197, u'A'}, {199, 199, u'C'}, {200, 203, u'E'}, {204, 207, u'I'}, {209, 209, u'N'}, {210, 214, u'O'},
    {217, 220, u'U'}, {221, 221, u'Y'}, {224, 229, u'a'}, {231, 231, u'c'}, {232, 235, u'e'}, {236, 239, u'i'},
    {241, 241, u'n'}, {242, 246, u'o'}, {249, 252, u'u'}, {253, 253, u'y'},
};

constexpr char16_t kFirstPrintable = 32;
constexpr char16_t kLastPrintable = 126;
constexpr std::string_view kMarker = "124";

}  // namespace

char16_t foldLatin1(char16_t code)
{
    for (const FoldRange& range : kFolds)
        if (code >= range.first && code <= range.last)
            return range.base;
    return code;
}

std::string encodeSignature(std::u16string_view signature)
{
    std::string block(kMarker);
    for (char16_t unit : signature) {
        char16_t code = foldLatin1(unit);
        if (code < kFirstPrintable || code > kLastPrintable)
            continue;
        block += static_cast<char>('0' + code / 100);
        block += static_cast<char>('0' + code / 10 % 10);
        block += static_cast<char>('0' + code % 10);
    }
    block += kMarker;
    return block;
}

}  // namespace engine
