#include "calculator/operation_table.h"

#include <map>

#include "shell/control_ids.h"

namespace calculator {

namespace {

namespace id = shell::id;

constexpr Operation kOperations[kOperationCount] = {
    {Add, id::Add, RunMode::Worker, true},
    {Subtract, id::Subtract, RunMode::Worker, true},
    {Divide, id::Divide, RunMode::Worker, true},
    {Multiply, id::Multiply, RunMode::Worker, true},
    {Power, id::Power, RunMode::Worker, true},
    {Root, id::Root, RunMode::Worker, true},
    {NextPrime, id::NextP, RunMode::PrimeSearch, false},
    {PreviousPrime, id::PrevP, RunMode::PrimeSearch, false},
    {Mod, id::Mod, RunMode::Worker, true},
    {Gcd, id::Gcd, RunMode::Worker, true},
    {ShiftLeft, id::ShiftLeft, RunMode::Direct, true},
    {ShiftRight, id::ShiftRight, RunMode::Direct, true},
    {Reverse, id::Reverse, RunMode::Text, false},
    {TimesTen, id::TimesTen, RunMode::Text, false},
    {DivideByTen, id::DivideByTen, RunMode::Text, false},
    {AddSmall, id::PlusUI, RunMode::Worker, true},
    {Lcm, id::Lcm, RunMode::Worker, true},
    {Concat, id::Concat, RunMode::Text, true},
    {GcfMemory, id::GcfM, RunMode::Worker, true},
    {RootRem, id::RootRem, RunMode::Worker, false},
    {LogX, id::LogX, RunMode::Direct, true},
};

}  // namespace

const Operation* operationForButton(int controlId)
{
    static const std::map<int, const Operation*> byButton = [] {
        std::map<int, const Operation*> table;
        for (const Operation& op : kOperations)
            table[op.buttonId] = &op;
        return table;
    }();
    auto it = byButton.find(controlId);
    return it == byButton.end() ? nullptr : it->second;
}

const Operation& operation(OperationCode code) { return kOperations[code - 1]; }

const Operation* allOperations() { return kOperations; }

}  // namespace calculator
