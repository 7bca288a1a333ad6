#include "engine/verdict.h"

namespace engine {

std::string_view verdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::NotPrime:
        return "NOT prime";
    case Verdict::CouldBePrime:
        return "It could be a prime";
    case Verdict::IsPrime:
        return "Is prime";
    case Verdict::IsComposite:
        return "Is composite";
    case Verdict::PossiblePrime:
        return "Possible prime";
    case Verdict::NotDone:
        return "Not done";
    case Verdict::Timeout:
        return "Timeout";
    case Verdict::Stopped:
        return "Processing has been stopped";
    case Verdict::NoSmallFactor:
        return "Has no small factor";
    }
    return "Not done";
}

Verdict verdictOfProbablePrimeTest(int gmpAnswer)
{
    if (gmpAnswer >= 2)
        return Verdict::IsPrime;
    return gmpAnswer == 1 ? Verdict::CouldBePrime : Verdict::NotPrime;
}

}  // namespace engine
