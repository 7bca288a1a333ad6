#include "engine/generation_rules.h"

#include <utility>

namespace engine {

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

std::optional<IconicRefusal> iconicRefusal(int64_t n, std::string_view digit)
{
    if (n < kFewestIconicDigits || n > kMostIconicDigits)
        return IconicRefusal::DigitCount;
    if (digit.size() != 1 || digit[0] < '0' || digit[0] > '9')
        return IconicRefusal::NoDigit;
    return std::nullopt;
}

CandidateSource::CandidateSource(int64_t n, DigitChoices digits, std::string signatureBlock,
                                 std::unique_ptr<IconicCandidates> iconic)
    : n_(n), digits_(std::move(digits)), signatureBlock_(std::move(signatureBlock)), iconic_(std::move(iconic))
{
}

CandidateSource CandidateSource::random(int64_t n, DigitChoices digits, std::string signatureBlock)
{
    return CandidateSource(n, std::move(digits), std::move(signatureBlock), nullptr);
}

CandidateSource CandidateSource::iconic(int64_t n, char digit, const std::string& finalDigits)
{
    return CandidateSource(n, {}, {}, std::make_unique<IconicCandidates>(n, digit, finalDigits));
}

std::optional<std::string> CandidateSource::next(RandomSource& random)
{
    if (!iconic_)
        return buildRandomCandidate(random, n_, digits_, signatureBlock_);
    for (;;) {
        if (iconic_->exhausted())
            return std::nullopt;
        if (std::optional<std::string> candidate = iconic_->next(random))
            return candidate;
    }
}

void setSearchStart(BigInt& start, const BigInt& candidate, bool downwards)
{
    if (downwards)
        mpz_add_ui(start.get(), candidate.get(), 2);
    else
        mpz_sub_ui(start.get(), candidate.get(), 2);
}

}  // namespace engine
