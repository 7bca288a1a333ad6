#include "generator/generation_mode.h"

namespace generator {

GenerationMode chooseMode(int64_t n, bool iconic, int64_t largeNumbersStart)
{
    if (iconic)
        return GenerationMode::Iconic;
    if (n <= largeNumbersStart)
        return GenerationMode::Small;
    if (n < kLargeModeDigits)
        return GenerationMode::Medium;
    return GenerationMode::Large;
}

const char* waitingText(GenerationMode mode)
{
    switch (mode) {
    case GenerationMode::Iconic:
        return "PLEASE WAIT... This process may take a few minutes! = ";
    case GenerationMode::Small:
        return "PLEASE WAIT... This process may take a few minutes! < ";
    case GenerationMode::Medium:
        return "PLEASE WAIT... This process may take a few minutes! <> ";
    case GenerationMode::Large:
        break;
    }
    return "PLEASE WAIT... Primality test running (large numbers may take hours) >";
}

}  // namespace generator
