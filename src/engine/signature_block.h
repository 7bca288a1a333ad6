#pragma once
// The signature block a random candidate carries after its first digit:
// "124", three digits per kept character code, "124". The short view decodes it.
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Accented Latin-1 letters fold to their base letter so that a signature typed
// with accents still encodes into the printable range; any other code stays.
// The same table serves pasting a signature into the signature field.
char16_t foldLatin1(char16_t code);

// "124" + the folded codes from 32 to 126 as three digits each + "124";
// characters outside that range after folding are dropped.
std::string encodeSignature(std::u16string_view signature);

// A signature of `characters` UTF-16 units is written into a candidate of n
// digits only when its block stays clear of the last digits.
inline bool signatureFits(int64_t characters, int64_t n) { return characters > 0 && 3 * characters < n - 12; }

}  // namespace engine
