#pragma once
// The 21 calculator operations: their codes, buttons and how each one runs.
// The lookup by button is built once, the first time it is used.
namespace calculator {

enum OperationCode : int {
    Add = 1,
    Subtract = 2,
    Divide = 3,
    Multiply = 4,
    Power = 5,
    Root = 6,
    NextPrime = 7,
    PreviousPrime = 8,
    Mod = 9,
    Gcd = 10,
    ShiftLeft = 11,
    ShiftRight = 12,
    Reverse = 13,
    TimesTen = 14,
    DivideByTen = 15,
    AddSmall = 16,
    Lcm = 17,
    Concat = 18,
    GcfMemory = 19,
    RootRem = 20,
    LogX = 21,
};

// Where the computation happens.
enum class RunMode {
    Worker,       // forked, time-limited calculator worker
    PrimeSearch,  // the next- or previous-prime worker runs
    Direct,       // cheap GMP call on the window thread
    Text,         // edits the current number's text; A is not touched
};

struct Operation {
    OperationCode code;
    int buttonId;
    RunMode mode;
    bool takesValue;  // its history ends with "Value used "
};

constexpr int kOperationCount = 21;

// Operation of a calculator button, or nullptr for any other control.
const Operation* operationForButton(int controlId);
const Operation& operation(OperationCode code);

// All 21, in code order (for registering the buttons).
const Operation* allOperations();

}  // namespace calculator
