#pragma once
// Verdict words as the window's texts.
#include <QString>

#include "engine/verdict.h"

namespace shell {

inline QString verdictText(engine::Verdict verdict)
{
    std::string_view word = engine::verdictWord(verdict);
    return QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
}

}  // namespace shell
