#include "calculator/operand_fetch.h"

#include "engine/decimal_views.h"
#include "shell/large_number_views.h"
#include "ui/control_ids.h"

namespace calculator {

namespace {

constexpr qsizetype kOperandLimit = 10000;
// Events are let through while a long operand is scanned.
constexpr qsizetype kScanEventsEvery = 256;

const QString kProblem = QStringLiteral("Problem!");

}  // namespace

std::optional<Operand> fetchOperand(shell::AppContext& ctx)
{
    Operand operand;
    if (!ctx.controls.checked(ui::ControlId::MemoryOption)) {
        operand.typed = ctx.controls.text(ui::ControlId::Operand);
        return operand;
    }
    if (ctx.state.memory.isZero()) {
        ctx.dialogs.message(kProblem, QStringLiteral("Calculator memory is empty! Use M first."));
        return std::nullopt;
    }
    operand.fromMemory = true;
    return operand;
}

bool cleanAndCheckOperand(shell::AppContext& ctx, Operand& operand)
{
    QString text = operand.typed;
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\r'));
    text.remove(QStringLiteral("\r\n"));
    text.remove(QLatin1Char('\t'));
    if (text.size() > kOperandLimit) {
        ctx.dialogs.message(kProblem, QStringLiteral("Value with a maximum of 10,000 digits in Operand!"));
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i % kScanEventsEvery == 0)
            ctx.processPendingEvents();
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ctx.dialogs.message(kProblem, QStringLiteral("Invalid digit '") + c + QStringLiteral("' within the value"));
            return false;
        }
    }
    ctx.controls.setText(ui::ControlId::Operand, text);
    operand.text = text.toStdString();
    operand.typed = text;
    return true;
}

void loadOperandValue(shell::AppContext& ctx, const Operand& operand, engine::BigInt& value)
{
    if (operand.fromMemory)
        value.set(ctx.state.memory);
    else
        shell::loadDecimal(ctx, value, operand.text);
}

engine::ViewAndLength describeOperand(const Operand& operand, const engine::BigInt& memory)
{
    if (operand.fromMemory)
        return engine::viewAndLength(memory);
    return {engine::headDotsTail(operand.text), operand.text.size()};
}

std::string operandText(shell::AppContext& ctx, const Operand& operand)
{
    return operand.fromMemory ? shell::decimalText(ctx, ctx.state.memory) : operand.text;
}

}  // namespace calculator
