#include "calculator/operation_table.h"

#include <map>

#include "ui/control_ids.h"

namespace calculator {

namespace {


constexpr Operation kOperations[kOperationCount] = {
    {Add, ui::ControlId::Add, RunMode::Worker, true},
    {Subtract, ui::ControlId::Subtract, RunMode::Worker, true},
    {Divide, ui::ControlId::Divide, RunMode::Worker, true},
    {Multiply, ui::ControlId::Multiply, RunMode::Worker, true},
    {Power, ui::ControlId::Power, RunMode::Worker, true},
    {Root, ui::ControlId::Root, RunMode::Worker, true},
    {NextPrime, ui::ControlId::NextP, RunMode::PrimeSearch, false},
    {PreviousPrime, ui::ControlId::PrevP, RunMode::PrimeSearch, false},
    {Mod, ui::ControlId::Mod, RunMode::Worker, true},
    {Gcd, ui::ControlId::Gcd, RunMode::Worker, true},
    {ShiftLeft, ui::ControlId::ShiftLeft, RunMode::Direct, true},
    {ShiftRight, ui::ControlId::ShiftRight, RunMode::Direct, true},
    {Reverse, ui::ControlId::Reverse, RunMode::Text, false},
    {TimesTen, ui::ControlId::TimesTen, RunMode::Text, false},
    {DivideByTen, ui::ControlId::DivideByTen, RunMode::Text, false},
    {AddSmall, ui::ControlId::PlusUI, RunMode::Worker, true},
    {Lcm, ui::ControlId::Lcm, RunMode::Worker, true},
    {Concat, ui::ControlId::Concat, RunMode::Text, true},
    {GcfMemory, ui::ControlId::GcfM, RunMode::Worker, true},
    {RootRem, ui::ControlId::RootRem, RunMode::Worker, false},
    {LogX, ui::ControlId::LogX, RunMode::Direct, true},
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
