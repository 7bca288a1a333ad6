#include "calculator/operation_table.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/decimal_views.h"
#include "shell/app_context.h"
#include "ui/control_ids.h"

namespace calculator {

namespace {

// ---- what each operation computes ----

void add(const Operands& in, WorkerResult& out) { mpz_add(out.value.get(), in.a, in.b); }
void subtract(const Operands& in, WorkerResult& out) { mpz_sub(out.value.get(), in.a, in.b); }
void divide(const Operands& in, WorkerResult& out) { mpz_tdiv_q(out.value.get(), in.a, in.b); }
void multiply(const Operands& in, WorkerResult& out) { mpz_mul(out.value.get(), in.a, in.b); }
void power(const Operands& in, WorkerResult& out) { mpz_pow_ui(out.value.get(), in.a, in.e); }
void root(const Operands& in, WorkerResult& out) { out.exact = mpz_root(out.value.get(), in.a, in.e) != 0; }
void mod(const Operands& in, WorkerResult& out) { mpz_mod(out.value.get(), in.a, in.b); }
void gcd(const Operands& in, WorkerResult& out) { mpz_gcd(out.value.get(), in.a, in.b); }
void addSmall(const Operands& in, WorkerResult& out) { mpz_add_ui(out.value.get(), in.a, in.e); }
void lcm(const Operands& in, WorkerResult& out) { mpz_lcm(out.value.get(), in.a, in.b); }
void gcdWithMemory(const Operands& in, WorkerResult& out) { mpz_gcd(out.value.get(), in.a, in.memory); }
void rootWithRemainder(const Operands& in, WorkerResult& out)
{
    mpz_rootrem(out.value.get(), out.remainder.get(), in.a, in.e);
}

void shiftLeft(engine::BigInt& a, const engine::BigInt&, unsigned long e) { mpz_mul_2exp(a.get(), a.get(), e); }
void shiftRight(engine::BigInt& a, const engine::BigInt&, unsigned long e) { mpz_tdiv_q_2exp(a.get(), a.get(), e); }
void logOfBase(engine::BigInt& a, const engine::BigInt& b, unsigned long)
{
    const double bitsA = static_cast<double>(mpz_sizeinbase(a.get(), 2));
    const double bitsBase = static_cast<double>(mpz_sizeinbase(b.get(), 2)) - 1;
    mpz_set_ui(a.get(), static_cast<unsigned long>(bitsBase > 0 ? std::nearbyint(bitsA / bitsBase) : bitsA));
}

void reverse(std::string& number, const std::string&)
{
    if (number.size() >= 2)
        std::reverse(number.begin(), number.end());
}
void timesTen(std::string& number, const std::string&) { number.push_back('0'); }
void divideByTen(std::string& number, const std::string&)
{
    if (number.size() > 1)
        number.pop_back();
}
void concat(std::string& number, const std::string& operandText) { number += operandText; }

// ---- notes of a finished run ----

QString exactRootNote(const WorkerResult& result) { return result.exact ? QStringLiteral(" (exact!)") : QString(); }

QString remainderNote(const WorkerResult& result)
{
    if (result.remainder.isZero())
        return QStringLiteral(" (exact root!)");
    // Only the first characters can be shown; a long remainder is never converted whole.
    constexpr size_t kNoteLimit = 40;
    const QString opening = QStringLiteral(" ( rem=");
    uint64_t length = 0;
    std::string head = engine::leadingText(result.remainder, kNoteLimit, &length);
    if (opening.size() + length + 2 > kNoteLimit)
        return (opening + shell::latin1(head)).left(kNoteLimit) + QStringLiteral("... )");
    return opening + shell::latin1(head) + QStringLiteral(" )");
}

// ---- the table, in code order ----

constexpr Operation kOperations[] = {
    {.button = ui::ControlId::Add, .historyWord = "through addition", .step = add, .value = ValueShown::Operand},
    {.button = ui::ControlId::Subtract, .historyWord = "through subtraction", .step = subtract, .value = ValueShown::Operand},
    {.button = ui::ControlId::Divide,
     .historyWord = "through division",
     .step = divide,
     .check = askBeforeDividingByZero,
     .value = ValueShown::Operand},
    {.button = ui::ControlId::Multiply,
     .historyWord = "through multiplication",
     .step = multiply,
     .check = warnOfLargeProduct,
     .value = ValueShown::Operand},
    {.button = ui::ControlId::Power,
     .historyWord = "through power",
     .step = power,
     .check = limitPowerToResultLimit,
     .value = ValueShown::Operand},
    {.button = ui::ControlId::Root,
     .historyWord = "through root",
     .step = root,
     .check = limitRootDegree,
     .noteAfterRun = exactRootNote,
     .value = ValueShown::Operand},
    {.button = ui::ControlId::NextP, .historyWord = "through next prime", .step = engine::runNextPrime, .check = warnOfLongNextPrime},
    {.button = ui::ControlId::PrevP,
     .historyWord = "through previous prime",
     .step = engine::runPreviousPrime,
     .check = warnOfLongPreviousPrime},
    {.button = ui::ControlId::Mod, .historyWord = "through mod", .step = mod, .check = askBeforeModuloByZero, .value = ValueShown::Operand},
    {.button = ui::ControlId::Gcd, .historyWord = "through GCD", .step = gcd, .value = ValueShown::Operand},
    {.button = ui::ControlId::ShiftLeft,
     .historyWord = "through shift left (* 2^n)",
     .step = shiftLeft,
     .check = warnOfLargeShiftLeft,
     .value = ValueShown::Operand},
    {.button = ui::ControlId::ShiftRight,
     .historyWord = "through shift right (/ 2^n)",
     .step = shiftRight,
     .check = warnOfShiftToZero,
     .value = ValueShown::Operand},
    {.button = ui::ControlId::Reverse, .historyWord = "through reverse function", .step = reverse},
    {.button = ui::ControlId::TimesTen, .historyWord = "through *10", .step = timesTen},
    {.button = ui::ControlId::DivideByTen, .historyWord = "through /10", .step = divideByTen, .check = askBeforeDividingOneDigitByTen},
    {.button = ui::ControlId::PlusUI, .historyWord = "through +UI", .step = addSmall, .check = takeSmallValue, .value = ValueShown::Operand},
    {.button = ui::ControlId::Lcm, .historyWord = "through LCM", .step = lcm, .value = ValueShown::Operand},
    {.button = ui::ControlId::Concat, .historyWord = "through Concat", .step = concat, .value = ValueShown::Operand},
    {.button = ui::ControlId::GcfM,
     .historyWord = "through GCF M",
     .step = gcdWithMemory,
     .check = refuseEmptyMemory,
     .value = ValueShown::Memory},
    {.button = ui::ControlId::RootRem,
     .historyWord = "through Root Rem",
     .step = rootWithRemainder,
     .check = limitRootDegree,
     .noteAfterRun = remainderNote,
     .autoUndoHint = false},
    {.button = ui::ControlId::LogX, .historyWord = "through Logx(n)", .step = logOfBase, .value = ValueShown::Operand},
};

// A button starts one operation.
constexpr bool buttonsDistinct()
{
    for (size_t i = 0; i < std::size(kOperations); ++i)
        for (size_t j = i + 1; j < std::size(kOperations); ++j)
            if (kOperations[i].button == kOperations[j].button)
                return false;
    return true;
}
static_assert(buttonsDistinct());

}  // namespace

std::span<const Operation> allOperations() { return kOperations; }

const Operation* operationForButton(int controlId)
{
    static const std::map<int, const Operation*> byButton = [] {
        std::map<int, const Operation*> table;
        for (const Operation& op : kOperations)
            table[op.button] = &op;
        return table;
    }();
    auto it = byButton.find(controlId);
    return it == byButton.end() ? nullptr : it->second;
}

}  // namespace calculator
