#pragma once
// Accented Latin-1 letters folded to their base letter. Signatures are written
// into numbers as three-digit codes from 32 to 126, so an accented letter
// would otherwise be lost; the signature encoder and Paste signature share
// this table so that both keep the same letters.
#include <string>
#include <string_view>

namespace engine {

// The base letter of an accented Latin-1 letter (192..253); any other code
// is returned unchanged.
char32_t foldLatin1(char32_t code);

// Folds every character, then keeps only the printable ASCII codes 32..126.
std::string printableSignature(std::u32string_view text);

}  // namespace engine
