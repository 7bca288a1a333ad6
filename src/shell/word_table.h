#pragma once
// Result words (0..8) and the calculator's history words (11..31), indexed by
// verdict codes, worker outcomes and operation code + 10.
#include <QString>

namespace shell {

constexpr int kWordCount = 41;
const QString& word(int index);

enum Verdict {
    NotPrime = 0,
    CouldBePrime = 1,
    IsPrime = 2,
    IsComposite = 3,
    PossiblePrime = 4,
    NotDone = 5,
    TimeoutWord = 6,
    StoppedWord = 7,
    NoSmallFactor = 8,
};

}  // namespace shell
