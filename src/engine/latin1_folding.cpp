#include "engine/latin1_folding.h"

namespace engine {

namespace {

struct FoldRange {
    char32_t first;
    char32_t last;
    char base;
};

constexpr FoldRange kFolds[] = {
    {192, 197, 'A'}, {199, 199, 'C'}, {200, 203, 'E'}, {204, 207, 'I'}, {209, 209, 'N'}, {210, 214, 'O'},
    {217, 220, 'U'}, {221, 221, 'Y'}, {224, 229, 'a'}, {231, 231, 'c'}, {232, 235, 'e'}, {236, 239, 'i'},
    {241, 241, 'n'}, {242, 246, 'o'}, {249, 252, 'u'}, {253, 253, 'y'},
};

}  // namespace

char32_t foldLatin1(char32_t code)
{
    for (const FoldRange& fold : kFolds)
        if (code >= fold.first && code <= fold.last)
            return static_cast<char32_t>(fold.base);
    return code;
}

std::string printableSignature(std::u32string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (char32_t code : text) {
        char32_t folded = foldLatin1(code);
        if (folded >= 32 && folded <= 126)
            kept.push_back(static_cast<char>(folded));
    }
    return kept;
}

}  // namespace engine
