#pragma once
// The calculator operations, one row each: the button, the history word,
// what the operation computes and where, its check before the run, and what
// its history shows. An operation's code is its place in the table, from 1.
//
// Adding an operation: its step function and one row in operation_table.cpp
// (with a check of operation_precheck.* when it needs one), and its button in
// the control table. Everything else (dispatch, control lock, history,
// undo) follows from the row.
#include <QString>
#include <span>
#include <string>
#include <variant>

#include "calculator/calculator_worker.h"
#include "calculator/operation_precheck.h"
#include "engine/big_integer.h"

namespace calculator {

// Computed on the window thread: cheap GMP calls on A, B and e.
using DirectStep = void (*)(engine::BigInt& a, const engine::BigInt& b, unsigned long e);
// Edits the current number's text; A is not touched. operandText is the
// operand's whole text for the operations that show a value, else empty.
using TextStep = void (*)(std::string& number, const std::string& operandText);

// Where the computation happens: a forked, time-limited worker; the next- or
// previous-prime worker runs; the window thread; the number's text.
using Step = std::variant<WorkerStep, SearchStep, DirectStep, TextStep>;

// The "Value used " line: none, the operand (typed or M), or always M.
enum class ValueShown { None, Operand, Memory };

struct Operation {
    int button;
    const char* historyWord;
    Step step;
    PreCheckRule check = nullptr;
    // A note for the history line from a finished worker run (Root, RootRem).
    QString (*noteAfterRun)(const WorkerResult& result) = nullptr;
    ValueShown value = ValueShown::None;
    // Under Auto Undo the history line ends with "; disable Auto Undo to keep
    // it in memory" unless this is false.
    bool autoUndoHint = true;

    bool searchesPrime() const { return std::holds_alternative<SearchStep>(step); }
    bool editsText() const { return std::holds_alternative<TextStep>(step); }
};

std::span<const Operation> allOperations();

// Operation of a calculator button, or nullptr for any other control.
const Operation* operationForButton(int controlId);

}  // namespace calculator
