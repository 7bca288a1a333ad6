#include "calculator/operation_sequence.h"

#include <algorithm>
#include <variant>

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

QString waitText(shell::AppContext& ctx, const Operation& op)
{
    if (op.searchesPrime())
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
    PreCheck check;
    if (!op.check)
        return check;
    PreCheckInput in;
    in.numberLength = number.size();
    in.valueLength = valueLength(number);
    in.singleDigit = in.valueLength == 1 && number.back() >= '0' && number.back() <= '9' ? number.back() - '0' : 0;
    in.operand = &b;
    in.operandLength = value.length;
    in.memoryEmpty = ctx.state.memory.isZero();
    in.resultLimit = ctx.state.limits[engine::LimitDigitsGeneration];
    op.check(in, check);
    return check;
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

// Step of the run itself; false when it failed and the operation ends with
// the message already shown.
bool run(shell::AppContext& ctx, const Operation& op, const PreCheck& check, engine::BigInt& a,
         const engine::BigInt& b, const Operand& operand, OperationRecord& record)
{
    engine::Outcome outcome = engine::Outcome::Finished;
    std::string failure;
    if (const auto* step = std::get_if<WorkerStep>(&op.step)) {
        WorkerResult result;
        outcome = runCalculatorWorker(ctx, *step, {ctx.state.currentNumber, b, ctx.state.memory, check.exponent}, result);
        failure = result.failure;
        if (outcome == engine::Outcome::Finished) {
            a.swap(result.value);
            // A note of the result replaces the pre-check's; no note keeps it.
            const QString note = op.noteAfterRun ? op.noteAfterRun(result) : QString();
            if (!note.isEmpty())
                record.note = note;
        }
    } else if (const auto* search = std::get_if<SearchStep>(&op.step)) {
        record.startMs = ctx.nowMs();
        outcome = runPrimeSearch(ctx, *search, a);
    } else if (const auto* direct = std::get_if<DirectStep>(&op.step)) {
        (*direct)(a, b, check.exponent);
    } else if (const auto* edit = std::get_if<TextStep>(&op.step)) {
        record.kind = ResultKind::Text;
        (*edit)(ctx.state.currentNumber, op.value == ValueShown::None ? std::string() : operandText(ctx, operand));
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
    record.op = &op;
    record.startMs = ctx.nowMs();
    record.wait.add(ctx, waitText(ctx, op));
    ctx.processPendingEvents();

    shell::setControlLock(ctx, true);
    engine::BigInt a, b;
    loadOperandValue(ctx, *operand, b);
    // A is loaded while the value's view is worked out: both can be large.
    // The worker makes A itself; the other operations need it here.
    engine::ViewAndLength value;
    const bool loadsA = std::holds_alternative<DirectStep>(op.step) || op.searchesPrime();
    const bool valueIsMemory =
        op.value == ValueShown::Memory || (op.value == ValueShown::Operand && operand->fromMemory);
    const uint64_t largest = std::max<uint64_t>(loadsA ? state.currentNumber.size() : 0,
                                                valueIsMemory ? mpz_sizeinbase(state.memory.get(), 2) * 3 / 10 : 0);
    shell::runBoth(
        ctx, largest,
        [&] {
            if (loadsA && !engine::setFromDecimal(a, state.currentNumber))
                a.set(0UL);
        },
        [&] {
            if (op.value == ValueShown::Memory)
                value = engine::viewAndLength(state.memory);
            else if (op.value == ValueShown::Operand)
                value = describeOperand(*operand, state.memory);
        });
    state.undoCopy = state.currentNumber;
    session.lastOperation = &op;
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
