#pragma once
#include <QString>
#include <string>

#include "shell/app_context.h"

namespace shell {

// The characters '0'..'9' of a text, in order, as single bytes.
std::string digitsOf(const QString& text);

// "Paste" into a digits field ("Your Number:" or the operand): the digits of
// the clipboard text, refused above the "Operating number" limit.
void pasteDigitsInto(shell::AppContext& ctx, int field);

// "Paste" of the signature: accented letters folded, unprintable characters
// dropped, the first 60 characters used.
void pasteSignature(shell::AppContext& ctx);

}  // namespace shell
