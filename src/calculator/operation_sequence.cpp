#include "calculator/operation_sequence.h"

#include <algorithm>
#include <cmath>

#include "calculator/calculator_worker.h"
#include "engine/decimal_views.h"
#include "calculator/history_output.h"
#include "shell/large_number_views.h"
#include "engine/decimal_text.h"
#include "calculator/operand_fetch.h"
#include "calculator/operation_precheck.h"
#include "shell/control_lock.h"
#include "shell/time_texts.h"

namespace calculator {

namespace {

const QString kProblem = QStringLiteral("Problem!");

bool isPrimeSearch(const Operation& op) { return op.mode == RunMode::PrimeSearch; }

QString waitText(shell::AppContext& ctx, const Operation& op)
{
    if (isPrimeSearch(op))
        return QStringLiteral("PLEASE WAIT...");
    return QStringLiteral("PLEASE WAIT... This process may take a few minutes!( Started at ") +
           shell::clockTimeWithSeconds(ctx.clock.localNow());
}

// Length of the decimal text GMP makes of the current number.
uint64_t valueLength(const std::string& number)
{
    const bool negative = !number.empty() && number.front() == '-';
    const size_t firstNonZero = number.find_first_not_of('0', negative ? 1 : 0);
    if (firstNonZero == std::string::npos || number.find_first_not_of("0123456789", firstNonZero) != std::string::npos)
        return 1;  // zero, or a text GMP rejects (taken as 0)
    return number.size() - firstNonZero + (negative ? 1 : 0);
}

PreCheck checkBeforeRun(shell::AppContext& ctx, const Operation& op, const engine::ViewAndLength& value, const engine::BigInt& b)
{
    const std::string& number = ctx.state.currentNumber;
    PreCheckInput in{op.code};
    in.numberLength = number.size();
    in.valueLength = valueLength(number);
    in.singleDigit = in.valueLength == 1 && number.back() >= '0' && number.back() <= '9' ? number.back() - '0' : 0;
    in.operand = &b;
    in.operandLength = value.length;
    in.memoryEmpty = ctx.state.memory.isZero();
    in.resultLimit = ctx.state.limits[shell::LimitDigitsGeneration];
    return preCheck(in);
}

// The questions and refusals of the pre-check; true when the run goes on.
bool confirmed(shell::AppContext& ctx, const PreCheck& check)
{
    if (check.severity == NoConcern)
        return true;
    if (check.severity == Refused) {
        ctx.dialogs.message(kProblem, check.message);
        return false;
    }
    const QString question = check.message + QStringLiteral("\r\r") + QStringLiteral("Continue?");
    if (ctx.dialogs.askYesNo(kProblem, question) != ui::Answer::Yes || check.severity == AlwaysStops)
        return false;
    if (check.estimate > kHardDigitCap) {
        ctx.dialogs.message(kProblem, QStringLiteral("Currently, the system does not work with more than ") +
                                          QString::number(kHardDigitCap) + QStringLiteral(" digits!"));
        return false;
    }
    return true;
}

QString remainderNote(const engine::BigInt& remainder)
{
    if (remainder.isZero())
        return QStringLiteral(" (exact root!)");
    // Only the first characters can be shown; a long remainder is never converted whole.
    constexpr size_t kNoteLimit = 40;
    const QString opening = QStringLiteral(" ( rem=");
    uint64_t length = 0;
    std::string head = engine::leadingText(remainder, kNoteLimit, &length);
    if (opening.size() + length + 2 > kNoteLimit)
        return (opening + shell::latin1(head)).left(kNoteLimit) + QStringLiteral("... )");
    return opening + shell::latin1(head) + QStringLiteral(" )");
}

unsigned long logOfBase(const engine::BigInt& a, const engine::BigInt& b)
{
    const double bitsA = static_cast<double>(mpz_sizeinbase(a.get(), 2));
    const double bitsBase = static_cast<double>(mpz_sizeinbase(b.get(), 2)) - 1;
    return static_cast<unsigned long>(bitsBase > 0 ? std::nearbyint(bitsA / bitsBase) : bitsA);
}

void editText(shell::AppContext& ctx, const Operation& op, const Operand& operand)
{
    std::string& number = ctx.state.currentNumber;
    switch (op.code) {
    case Reverse:
        if (number.size() >= 2)
            std::reverse(number.begin(), number.end());
        break;
    case TimesTen:
        number.push_back('0');
        break;
    case DivideByTen:
        if (number.size() > 1)
            number.pop_back();
        break;
    case Concat:
        number += operandText(ctx, operand);
        break;
    default:
        break;
    }
}

// Step of the run itself; false when it failed and the operation ends with
// the message already shown.
bool run(shell::AppContext& ctx, const Operation& op, const PreCheck& check, engine::BigInt& a,
         const engine::BigInt& b, const Operand& operand, OperationRecord& record)
{
    engine::Outcome outcome = engine::Outcome::Finished;
    std::string failure;
    switch (op.mode) {
    case RunMode::Worker: {
        WorkerResult result;
        outcome = runCalculatorWorker(ctx, {op.code, ctx.state.currentNumber, b, ctx.state.memory, check.exponent}, result);
        failure = result.failure;
        if (outcome != engine::Outcome::Finished)
            break;
        a.swap(result.value);
        if (op.code == Root && result.exact)
            record.note = QStringLiteral(" (exact!)");
        if (op.code == RootRem)
            record.note = remainderNote(result.remainder);
        break;
    }
    case RunMode::PrimeSearch:
        record.startMs = ctx.nowMs();
        outcome = runPrimeSearch(ctx, op.code, a);
        break;
    case RunMode::Direct:
        if (op.code == ShiftLeft)
            mpz_mul_2exp(a.get(), a.get(), check.exponent);
        else if (op.code == ShiftRight)
            mpz_tdiv_q_2exp(a.get(), a.get(), check.exponent);
        else
            mpz_set_ui(a.get(), logOfBase(a, b));
        break;
    case RunMode::Text:
        record.kind = ResultKind::Text;
        editText(ctx, op, operand);
        break;
    }
    if (outcome == engine::Outcome::Failed) {
        ctx.dialogs.message(kProblem, QStringLiteral("The calculation could not be completed (") +
                                          QString::fromStdString(failure.empty() ? "the worker ended abnormally" : failure) +
                                          QStringLiteral("); the number and the memory are unchanged."));
        return false;
    }
    if (outcome != engine::Outcome::Finished)
        record.abandoned = outcome;
    return true;
}

}  // namespace

void runOperation(shell::AppContext& ctx, CalculatorSession& session, const Operation& op)
{
    shell::AppState& state = ctx.state;
    std::optional<Operand> operand = fetchOperand(ctx);
    if (!operand)
        return;
    if (state.currentNumber.empty()) {
        ctx.dialogs.message(kProblem, QStringLiteral("You need to have a number stored in the program's memory."));
        return;
    }
    ctx.processPendingEvents();
    if (!operand->fromMemory && !cleanAndCheckOperand(ctx, *operand))
        return;

    ctx.results.clearStartupNotes();
    OperationRecord record;
    record.code = op.code;
    record.startMs = ctx.nowMs();
    record.wait.add(ctx, waitText(ctx, op));
    ctx.processPendingEvents();

    shell::setControlLock(ctx, true);
    engine::BigInt a, b;
    loadOperandValue(ctx, *operand, b);
    // A is loaded while the value's view is worked out: both can be large.
    // The worker makes A itself; the other operations need it here.
    engine::ViewAndLength value;
    const bool loadsA = op.mode == RunMode::Direct || op.mode == RunMode::PrimeSearch;
    const bool valueIsMemory = op.takesValue && (op.code == GcfMemory || operand->fromMemory);
    const uint64_t largest = std::max<uint64_t>(loadsA ? state.currentNumber.size() : 0,
                                                valueIsMemory ? mpz_sizeinbase(state.memory.get(), 2) * 3 / 10 : 0);
    shell::runBoth(
        ctx, largest,
        [&] {
            if (loadsA && !engine::setFromDecimal(a, state.currentNumber))
                a.set(0UL);
        },
        [&] {
            if (op.takesValue)
                value = op.code == GcfMemory ? engine::viewAndLength(state.memory) : describeOperand(*operand, state.memory);
        });
    state.undoCopy = state.currentNumber;
    state.lastCalculatorOperation = op.code;
    record.valueView = value.view;
    session.lastValueView = value.view;

    const PreCheck check = checkBeforeRun(ctx, op, value, b);
    if (check.removeWaitAtOnce)
        record.wait.remove(ctx);
    record.note = check.note;
    if (!confirmed(ctx, check)) {
        record.wait.remove(ctx);
        finishOperation(ctx, record);
        return;
    }

    ctx.processPendingEvents();
    if (!run(ctx, op, check, a, b, *operand, record)) {
        record.wait.remove(ctx);
        finishOperation(ctx, record);
        return;
    }

    ctx.processPendingEvents();
    if (record.kind == ResultKind::Numeric && !record.abandoned)
        state.currentNumber = shell::decimalText(ctx, a);
    writeHistory(ctx, record);
    finishOperation(ctx, record);
}

}  // namespace calculator
