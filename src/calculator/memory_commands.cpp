#include "calculator/memory_commands.h"

#include "shell/large_number_views.h"
#include "shell/operand_row.h"
#include "engine/decimal_text.h"
#include "ui/control_ids.h"
#include "shell/number_display.h"

namespace calculator {

namespace {

const QString kProblem = QStringLiteral("Problem!");

bool refuseEmptyNumber(shell::AppContext& ctx)
{
    if (!ctx.state.currentNumber.empty())
        return false;
    ctx.dialogs.message(kProblem, QStringLiteral("You need to have a number stored in the program's memory."));
    return true;
}

bool refuseEmptyMemory(shell::AppContext& ctx)
{
    if (!ctx.state.memory.isZero())
        return false;
    ctx.dialogs.message(kProblem, QStringLiteral("Calculator memory is empty! Use M first."));
    return true;
}

void writeLines(shell::AppContext& ctx, std::initializer_list<QString> lines)
{
    ctx.results.clearStartupNotes();
    for (const QString& line : lines)
        ctx.results.add(line);
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

void currentNumberReplaced(shell::AppContext& ctx)
{
    shell::showCurrentNumberStatus(ctx);
    shell::numberChanged(ctx, ctx.state.digitCount());
}

// M + or - the current number; the result's digit count for the line.
QString combineWithMemory(shell::AppContext& ctx, bool subtract)
{
    engine::BigInt number;
    shell::loadDecimal(ctx, number, ctx.state.currentNumber);
    engine::BigInt& memory = ctx.state.memory;
    if (subtract) {
        mpz_sub(memory.get(), memory.get(), number.get());
        mpz_abs(memory.get(), memory.get());
    } else {
        mpz_add(memory.get(), memory.get(), number.get());
    }
    return QString::number(shell::decimalLength(ctx, memory));
}

// The text of the "Your Number" edit as the row's buttons take it.
std::string yourNumberDigits(shell::AppContext& ctx)
{
    QString text = ctx.controls.text(ui::ControlId::YourNumber).trimmed();
    std::string digits = text.isEmpty() ? std::string("0") : text.toStdString();
    engine::digitsFilter(digits);
    return digits;
}

void yourNumberTail(shell::AppContext& ctx, size_t digitCount, const char* word)
{
    shell::showCurrentNumberStatus(ctx);
    writeLines(ctx, {QStringLiteral("Your %1-digit number has been ").arg(digitCount) + QLatin1String(word),
                     shell::numberLine(ctx, ctx.state.currentNumber)});
    shell::numberChanged(ctx, ctx.state.digitCount());
}

}  // namespace

void storeInMemory(shell::AppContext& ctx)
{
    if (refuseEmptyNumber(ctx))
        return;
    const std::string& number = ctx.state.currentNumber;
    shell::loadDecimal(ctx, ctx.state.memory, number);
    writeLines(ctx, {shell::numberLine(ctx, number),
                     QStringLiteral("With %1 digits stored in calculator memory").arg(number.size())});
    shell::refreshOperandDisplay(ctx);
}

void recallMemory(shell::AppContext& ctx)
{
    if (refuseEmptyMemory(ctx))
        return;
    std::string recalled = shell::decimalText(ctx, ctx.state.memory);
    ctx.state.undoCopy.swap(ctx.state.currentNumber);
    ctx.state.currentNumber.swap(recalled);
    writeLines(ctx, {QStringLiteral("MR: Number retrieved from calculator memory")});
    currentNumberReplaced(ctx);
    shell::refreshOperandDisplay(ctx);
}

void clearMemory(shell::AppContext& ctx)
{
    if (ctx.state.memory.isZero()) {
        ctx.dialogs.message(QStringLiteral("Attention!"), QStringLiteral("Calculator memory is already empty!"));
        return;
    }
    ctx.state.memory.set(0UL);
    writeLines(ctx, {QStringLiteral("MC: Calculator memory cleared")});
    shell::refreshOperandDisplay(ctx);
}

void addToMemory(shell::AppContext& ctx)
{
    if (refuseEmptyNumber(ctx))
        return;
    QString digits = combineWithMemory(ctx, false);
    writeLines(ctx, {QStringLiteral("M+: Memory now has ") + digits + QStringLiteral(" digits")});
    shell::refreshOperandDisplay(ctx);
}

void subtractFromMemory(shell::AppContext& ctx)
{
    if (refuseEmptyNumber(ctx))
        return;
    QString digits = combineWithMemory(ctx, true);
    writeLines(ctx, {QStringLiteral("M-: Memory now has ") + digits + QStringLiteral(" digits (ABS)")});
    shell::refreshOperandDisplay(ctx);
}

void clearCalculator(shell::AppContext& ctx)
{
    shell::AppState& state = ctx.state;
    state.currentNumber.assign(1, '0');
    ctx.controls.setText(ui::ControlId::StatusLine, QStringLiteral("0"));
    state.undoCopy.clear();
    state.memory.set(0UL);
    ctx.controls.setText(ui::ControlId::Operand, QStringLiteral("2"));
    shell::numberChanged(ctx, 1);
    writeLines(ctx, {QStringLiteral("C: Calculator cleared")});
    shell::refreshOperandDisplay(ctx);
}

void swapMemoryAndNumber(shell::AppContext& ctx)
{
    if (refuseEmptyMemory(ctx) || refuseEmptyNumber(ctx))
        return;
    shell::AppState& state = ctx.state;
    // Both conversions of a large exchange run at once, one per core.
    engine::BigInt newMemory;
    std::string newNumber;
    const uint64_t size = std::max<uint64_t>(state.currentNumber.size(), mpz_sizeinbase(state.memory.get(), 2) / 3);
    shell::runBoth(
        ctx, size, [&] { newNumber = engine::toDecimal(state.memory); },
        [&] {
            if (!engine::setFromDecimal(newMemory, state.currentNumber))
                newMemory.set(0UL);
        });
    state.memory.swap(newMemory);
    state.currentNumber.swap(newNumber);
    currentNumberReplaced(ctx);
    writeLines(ctx, {QStringLiteral("M<>D: Memory was swapped by Display.")});
    shell::refreshOperandDisplay(ctx);
}

void yourNumberToMemory(shell::AppContext& ctx)
{
    std::string digits = yourNumberDigits(ctx);
    shell::loadDecimal(ctx, ctx.state.memory, digits);
    yourNumberTail(ctx, digits.size(), "stored in memory.");
    shell::refreshOperandDisplay(ctx);
}

void yourNumberToDisplay(shell::AppContext& ctx)
{
    std::string digits = yourNumberDigits(ctx);
    ctx.state.currentNumber = digits;
    yourNumberTail(ctx, digits.size(), "displayed.");
}

}  // namespace calculator
