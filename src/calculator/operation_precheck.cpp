#include "calculator/operation_precheck.h"

#include <cmath>

#include "shell/time_texts.h"

namespace calculator {

namespace {

constexpr uint64_t kPrimeSearchWarnAbove = 10000;
constexpr int64_t kMultiplyWarnAbove = 10000000;
constexpr unsigned long kLargestRootDegree = 1000;
constexpr long double kDigitsPerBit = 0.30103L;
constexpr long double kBitsPerDigit = 3.32193L;

// Rounded to the nearest integer, halves to the even neighbour (the default
// rounding mode).
long double nearest(long double x) { return std::nearbyint(x); }

QString integerText(long double x) { return QString::number(static_cast<double>(x), 'f', 0); }

QString wouldHave(long double estimate)
{
    return QStringLiteral("Result would have ~") + integerText(estimate) + QStringLiteral(" digits!");
}

unsigned long smallValue(const PreCheckInput& in) { return mpz_get_ui(in.operand->get()); }

void askFirst(PreCheck& out, const char* message, Severity severity)
{
    out.message = QString::fromLatin1(message);
    out.severity = severity;
}

}  // namespace

void askBeforeDividingByZero(const PreCheckInput& in, PreCheck& out)
{
    if (in.operand->isZero())
        askFirst(out, "Division by zero?", AlwaysStops);
}

void askBeforeModuloByZero(const PreCheckInput& in, PreCheck& out)
{
    if (in.operand->isZero())
        askFirst(out, "Modulo by zero?", AlwaysStops);
}

void warnOfLargeProduct(const PreCheckInput& in, PreCheck& out)
{
    out.estimate = static_cast<long double>(in.valueLength + in.operandLength);
    if (out.estimate > kMultiplyWarnAbove) {
        out.message = wouldHave(out.estimate);
        out.severity = MayGoOn;
    }
}

void limitPowerToResultLimit(const PreCheckInput& in, PreCheck& out)
{
    unsigned long e = smallValue(in);
    const uint64_t d = in.valueLength;
    const int v = in.singleDigit;
    const long double digitsPerPower = d == 1 && v > 1 ? std::log(static_cast<long double>(v)) / std::log(10.0L) : 0;
    long double estimate;
    if (d == 1)
        estimate = v > 1 ? nearest(e * digitsPerPower) : v;
    else
        estimate = static_cast<long double>(e) * static_cast<long double>(d - 1);
    const int64_t limit = in.resultLimit;
    if (estimate > limit) {
        if (d == 1 && v > 1)
            e = static_cast<unsigned long>(nearest(limit / digitsPerPower));
        else
            e = static_cast<unsigned long>(limit) / (d > 1 ? d - 1 : 1);
        out.note = QStringLiteral(" reduced to ") + QString::number(e) + QStringLiteral(" (result limit)");
        out.message = QStringLiteral("Result would exceed ") + shell::withThousands(limit) +
                      QStringLiteral(" digits! Exponent reduced.");
        out.severity = MayGoOn;
    }
    out.exponent = e < 1 ? 1 : e;
}

void limitRootDegree(const PreCheckInput& in, PreCheck& out)
{
    unsigned long e = smallValue(in);
    if (in.operand->compare(kLargestRootDegree) > 0) {
        e = kLargestRootDegree;
        out.note = QStringLiteral(" reduced value for 1000");
    }
    if (e < 2) {
        e = 2;
        out.note = QStringLiteral(" value changed to 2");
    }
    out.exponent = e;
}

void warnOfLongNextPrime(const PreCheckInput& in, PreCheck& out)
{
    if (in.numberLength > kPrimeSearchWarnAbove)
        askFirst(out, "Warning: NextPrime can take a long time.", MayGoOn);
}

void warnOfLongPreviousPrime(const PreCheckInput& in, PreCheck& out)
{
    if (in.numberLength > kPrimeSearchWarnAbove)
        askFirst(out, "Warning: PrevPrime can take a long time.", MayGoOn);
}

void warnOfLargeShiftLeft(const PreCheckInput& in, PreCheck& out)
{
    out.exponent = smallValue(in);
    out.estimate = nearest(static_cast<long double>(in.numberLength) + out.exponent * kDigitsPerBit);
    if (out.estimate > kHardDigitCap) {
        out.message = wouldHave(out.estimate);
        out.severity = MayGoOn;
        out.removeWaitAtOnce = true;
    }
}

void warnOfShiftToZero(const PreCheckInput& in, PreCheck& out)
{
    out.exponent = smallValue(in);
    if (out.exponent >= nearest(static_cast<long double>(in.numberLength) * kBitsPerDigit)) {
        askFirst(out, "Shift exceeds number size, result will be 0.", MayGoOn);
        out.removeWaitAtOnce = true;
    }
}

void askBeforeDividingOneDigitByTen(const PreCheckInput& in, PreCheck& out)
{
    if (in.numberLength <= 1)
        askFirst(out, "Number has only 1 digit!", AlwaysStops);
}

void refuseEmptyMemory(const PreCheckInput& in, PreCheck& out)
{
    if (in.memoryEmpty)
        askFirst(out, "Calculator memory is empty! Use M button first.", Refused);
}

void takeSmallValue(const PreCheckInput& in, PreCheck& out) { out.exponent = smallValue(in); }

}  // namespace calculator
