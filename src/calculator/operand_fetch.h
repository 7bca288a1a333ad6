#pragma once
// Where an operation takes its second value from: the operand edit (cleaned
// and checked digit by digit) or the calculator memory M.
#include <QString>
#include <optional>
#include <string>

#include "engine/decimal_views.h"
#include "engine/big_integer.h"
#include "shell/app_context.h"

namespace calculator {

struct Operand {
    bool fromMemory = false;
    QString typed;  // the operand edit as fetched
    // The typed digits once checked. For M the value is taken as it is and its text is
    // only produced when an operation needs all of it.
    std::string text;
};

// Step one of every operation: the memory choice refuses an empty M.
[[nodiscard]] std::optional<Operand> fetchOperand(shell::AppContext& ctx);

// Blanks, CR, CR LF and tabs removed, then the length limit and the scan for
// the first character that is not a digit. On success the cleaned text goes
// back into the operand edit. Typed operands only.
[[nodiscard]] bool cleanAndCheckOperand(shell::AppContext& ctx, Operand& operand);

// B: the typed digits (empty counts as 0) or a copy of M.
void loadOperandValue(shell::AppContext& ctx, const Operand& operand, engine::BigInt& value);

// The operand as "Value used " shows it (40 + "..." + 40 when long) and the
// length of its whole text. Touches no window: may run on a worker thread.
engine::ViewAndLength describeOperand(const Operand& operand, const engine::BigInt& memory);

// The whole text of the operand (converts M when it comes from memory).
std::string operandText(shell::AppContext& ctx, const Operand& operand);

}  // namespace calculator
