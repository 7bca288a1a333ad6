#pragma once
// The rules of a prime-candidate run that the window and the command line
// share: the sizes a run accepts, which of the four ways a digit count
// chooses, the candidates themselves and where the search from one starts.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/big_integer.h"
#include "engine/iconic_candidate.h"
#include "engine/random_candidate.h"
#include "engine/random_source.h"

namespace engine {

inline constexpr int64_t kFewestCandidateDigits = 3;
inline constexpr int64_t kFewestIconicDigits = 10;
inline constexpr int64_t kMostIconicDigits = 10'000;
// From this digit count on a run hands its candidates to the tester without
// the resume file: a fixed bound, not a Limits entry.
inline constexpr int64_t kLargeModeDigits = 78'000;

enum class GenerationMode { Iconic, Small, Medium, Large };

// largeNumbersStart is the Limits entry "Large numbers start".
GenerationMode chooseMode(int64_t n, bool iconic, int64_t largeNumbersStart);

// Why an iconic run of n digits made of the typed digit text cannot start.
enum class IconicRefusal { DigitCount, NoDigit };
[[nodiscard]] std::optional<IconicRefusal> iconicRefusal(int64_t n, std::string_view digit);

// The candidates of one run: random texts of n digits (with the signature
// block when one is given), or iconic ones made of one repeated digit.
class CandidateSource {
public:
    static CandidateSource random(int64_t n, DigitChoices digits, std::string signatureBlock = {});
    static CandidateSource iconic(int64_t n, char digit, const std::string& finalDigits);

    // The next candidate; nothing once an iconic run has tried every tail.
    [[nodiscard]] std::optional<std::string> next(RandomSource& random);

    // Iconic runs of 8 and 9 search downwards from a candidate, all others upwards.
    bool searchesDownwards() const { return iconic_ && iconic_->searchesDownwards(); }
    // Iconic tails drawn a second time.
    int64_t duplicates() const { return iconic_ ? iconic_->duplicates() : 0; }

private:
    CandidateSource(int64_t n, DigitChoices digits, std::string signatureBlock,
                    std::unique_ptr<IconicCandidates> iconic);

    int64_t n_;
    DigitChoices digits_;
    std::string signatureBlock_;
    std::unique_ptr<IconicCandidates> iconic_;
};

// Where the prime search from a candidate that passed the first check
// starts: 2 before it in the search's direction, so that a candidate that is
// prime itself is the prime found.
void setSearchStart(BigInt& start, const BigInt& candidate, bool downwards);

}  // namespace engine
