#pragma once
// What is checked before an operation runs: refusals, questions, size
// estimates and the small integer e (exponent, root degree, shift count).
#include <QString>
#include <cstdint>

#include "engine/big_integer.h"

namespace calculator {

enum Severity : int {
    NoConcern = 0,
    MayGoOn = 1,      // asked; Yes continues
    AlwaysStops = 2,  // asked; stops whatever the answer
    Refused = 3,      // told; stops
};

// Results above this many digits are never computed, whatever the Limits say.
constexpr int64_t kHardDigitCap = 78000000;

struct PreCheckInput {
    uint64_t numberLength = 0;   // L: characters of the current number
    uint64_t valueLength = 0;    // characters of the decimal text of A
    int singleDigit = 0;         // A's value when valueLength is 1
    const engine::BigInt* operand = nullptr;  // B
    uint64_t operandLength = 0;  // characters of the operand text (Multiply)
    bool memoryEmpty = true;
    int64_t resultLimit = 0;     // Limits "Limit digits generation"
};

struct PreCheck {
    QString note;
    QString message;
    Severity severity = NoConcern;
    long double estimate = 0;    // digits; 0 when the operation sets none
    unsigned long exponent = 0;  // e
    bool removeWaitAtOnce = false;
};

// The check of one operation before its run; the operation table names each
// operation's check, and an operation without one has no concern.
using PreCheckRule = void (*)(const PreCheckInput& in, PreCheck& out);

void askBeforeDividingByZero(const PreCheckInput& in, PreCheck& out);
void askBeforeModuloByZero(const PreCheckInput& in, PreCheck& out);
void warnOfLargeProduct(const PreCheckInput& in, PreCheck& out);
void limitPowerToResultLimit(const PreCheckInput& in, PreCheck& out);
void limitRootDegree(const PreCheckInput& in, PreCheck& out);
void warnOfLongNextPrime(const PreCheckInput& in, PreCheck& out);
void warnOfLongPreviousPrime(const PreCheckInput& in, PreCheck& out);
void warnOfLargeShiftLeft(const PreCheckInput& in, PreCheck& out);
void warnOfShiftToZero(const PreCheckInput& in, PreCheck& out);
void askBeforeDividingOneDigitByTen(const PreCheckInput& in, PreCheck& out);
void refuseEmptyMemory(const PreCheckInput& in, PreCheck& out);
void takeSmallValue(const PreCheckInput& in, PreCheck& out);

}  // namespace calculator
