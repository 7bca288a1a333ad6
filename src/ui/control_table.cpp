#include "ui/control_table.h"

#include "ui/control_ids.h"
#include "ui/test_modes.h"

namespace ui {

namespace {

using K = ControlKind;

ControlSpec button(int id, const char* caption, int x, int y, int w, int h)
{
    return {id, K::Button, caption, x, y, w, h};
}

ControlSpec check(int id, const char* caption, int x, int y, int w, int h)
{
    return {id, K::CheckBox, caption, x, y, w, h};
}

ControlSpec label(int id, const char* caption, int x, int y, int w, int h, Align align = Align::Left,
                  Colour colour = Colour::Default)
{
    return {id, K::Label, caption, x, y, w, h, align, colour};
}

enum class Input { Digits, AnyText };

ControlSpec edit(int id, int x, int y, int w, int h, Input input, int maxLength = 0, const char* caption = "")
{
    ControlSpec spec{id, K::Edit, caption, x, y, w, h};
    spec.digitsOnly = input == Input::Digits;
    spec.maxLength = maxLength;
    return spec;
}

ControlSpec readOnlyEdit(int id, int x, int y, int w, int h, Colour colour = Colour::Default)
{
    ControlSpec spec{id, K::Edit, "", x, y, w, h, Align::Left, colour};
    spec.readOnly = true;
    return spec;
}

ControlSpec frame(int id, const char* caption, int x, int y, int w, int h) { return {id, K::Frame, caption, x, y, w, h}; }

enum class Font { Fixed, Control };

ControlSpec dropDown(int id, int x, int y, int w, int h, Font font)
{
    ControlSpec spec{id, K::DropDown, "", x, y, w, h};
    spec.fixedFont = font == Font::Fixed;
    return spec;
}

// Disabled by the control lock with the command controls.
ControlSpec locked(ControlSpec spec)
{
    spec.locking = Locking::WithCommands;
    return spec;
}

// Disabled by the control lock after the Limits list has been reset.
ControlSpec lockedLast(ControlSpec spec)
{
    spec.locking = Locking::Last;
    return spec;
}

std::vector<ControlSpec> buildTable()
{
    std::vector<ControlSpec> t;
    // Define parameters for Generation
    t.push_back(frame(ControlId::GenerationFrame, " Define parameters for Generation ", 10, 3, 881, 113));
    t.push_back(label(ControlId::FinalDigitsCaption, "Valid final digits", 30, 22, 75, 20));
    const char* finals[] = {"1", "3", "7", "9"};
    for (int i = 0; i < 4; ++i)
        t.push_back(locked(check(ControlId::FinalDigit1 + i, finals[i], 110 + 30 * i, 20, 25, 20)));
    t.push_back(label(ControlId::StartDigitsCaption, "Valid starting digits", 240, 22, 90, 20));
    const char* starts[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    for (int i = 0; i < 10; ++i)
        t.push_back(locked(check(ControlId::StartDigit1 + i, starts[i], 335 + 30 * i, 20, 25, 20)));
    t.push_back(locked(check(ControlId::AllowReturm, "Allow Returm", 670, 20, 80, 18)));
    t.push_back(locked(check(ControlId::OnSegment, "on segment?", 755, 20, 80, 18)));
    t.push_back(locked(check(ControlId::Phi, "Phi?", 843, 20, 40, 18)));
    t.push_back(label(ControlId::TotalDigitsCaption, "Total digits", 30, 45, 55, 18));
    t.push_back(lockedLast(edit(ControlId::TotalDigits, 90, 43, 70, 20, Input::Digits)));
    t.push_back(locked(button(ControlId::StartGeneration, "START Generation", 165, 41, 115, 26)));
    t.push_back(check(ControlId::Stop, " STOP", 285, 44, 50, 18));
    t.push_back(label(ControlId::Tot, "0", 380, 45, 60, 14, Align::Right, Colour::Blue));
    t.push_back(label(ControlId::TotCaption, "TOT", 447, 45, 23, 18));
    t.push_back(label(ControlId::Div1, "0", 490, 45, 60, 14, Align::Right, Colour::Red));
    t.push_back(label(ControlId::Div1Caption, "Div1", 557, 45, 23, 14));
    t.push_back(label(ControlId::Qty, "0", 585, 45, 65, 14, Align::Right));
    t.push_back(label(ControlId::QtyCaption, "QTY", 657, 45, 23, 14));
    t.push_back(label(ControlId::Div2, "0", 490, 60, 60, 14, Align::Right, Colour::Red));
    t.push_back(label(ControlId::Div2Caption, "Div2", 557, 60, 23, 14));
    t.push_back(label(ControlId::PrpElapsed, "s", 585, 60, 65, 14, Align::Right, Colour::Green));
    t.push_back(label(ControlId::PrpCaption, "PRP", 657, 60, 23, 14));
    t.push_back(label(ControlId::Div3, "0", 490, 75, 60, 14, Align::Right, Colour::Red));
    t.push_back(label(ControlId::Div3Caption, "Div3", 557, 75, 23, 14));
    t.push_back(label(ControlId::NextPrevElapsed, " s", 585, 75, 65, 14, Align::Right, Colour::Green));
    t.push_back(label(ControlId::NextPrevCaption, "P~N", 657, 75, 23, 14));
    t.push_back(label(ControlId::IsPElapsed, " s", 585, 90, 65, 14, Align::Right, Colour::Green));
    t.push_back(label(ControlId::IsPCaption, "Is_P", 657, 90, 23, 14));
    t.push_back(label(ControlId::TesterProgress, "", 710, 92, 170, 14, Align::Left, Colour::Green));
    t.push_back(label(ControlId::SegmentCaption, "Segment", 692, 45, 45, 18));
    t.push_back(lockedLast(edit(ControlId::Segment, 743, 44, 50, 18, Input::Digits)));
    t.push_back(label(ControlId::BlockSizeCaption, "Block size", 802, 45, 50, 18));
    t.push_back(lockedLast(edit(ControlId::BlockSize, 860, 45, 20, 18, Input::Digits)));
    t.push_back(locked(dropDown(ControlId::ChaosLevel, 710, 68, 170, 18, Font::Fixed)));
    t.push_back(label(ControlId::SignatureCaption, "Your signature:", 30, 72, 73, 18));
    t.push_back(locked(edit(ControlId::Signature, 110, 69, 250, 18, Input::AnyText, 60)));
    t.push_back(lockedLast(button(ControlId::SignaturePaste, "Paste", 365, 67, 40, 20)));
    t.push_back(lockedLast(button(ControlId::SignatureCopy, "Copy", 410, 67, 40, 20)));
    t.push_back(lockedLast(button(ControlId::SignatureClear, "C", 455, 67, 30, 20)));
    t.push_back(locked(check(ControlId::Mersenne, " Mersenne?", 30, 93, 75, 14)));
    t.push_back(lockedLast(check(ControlId::Iconic, " Iconic with digit", 120, 93, 93, 14)));
    t.push_back(lockedLast(edit(ControlId::IconicDigit, 215, 91, 15, 16, Input::Digits, 1)));
    t.push_back(locked(check(ControlId::LoadPrevious, " Load Previous Processing", 260, 93, 145, 14)));

    // Calculations and analysis with the number stored in memory
    t.push_back(frame(ControlId::CalculatorFrame, " Calculations and analysis with the number stored in memory ", 10, 119, 881, 222));
    t.push_back(frame(ControlId::CurrentNumberFrame, " Current Number ", 175, 134, 706, 38));
    ControlSpec status = label(ControlId::StatusLine, "", 180, 152, 700, 16, Align::Left, Colour::Blue);
    status.fixedFont = true;
    t.push_back(status);
    t.push_back(locked(button(ControlId::SaveNumber, "Save NUMBER", 25, 145, 95, 25)));
    t.push_back(locked(button(ControlId::IsPrime, "Is P?", 125, 145, 40, 25)));
    t.push_back(locked(button(ControlId::LoadNumber, "Load NUMBER", 25, 175, 95, 25)));
    t.push_back(label(ControlId::OperandLabel, "Operand:", 126, 181, 65, 18, Align::Right));
    t.push_back(edit(ControlId::Operand, 198, 178, 497, 20, Input::Digits, 10000));
    t.push_back(readOnlyEdit(ControlId::MemoryDisplay, 198, 178, 497, 20, Colour::Red));
    t.push_back(locked(button(ControlId::OperandPaste, "Paste", 700, 176, 45, 25)));
    t.push_back(locked(button(ControlId::OperandClear, "Clear", 750, 176, 40, 25)));
    t.push_back(locked(button(ControlId::OperandCopy, "Copy", 795, 176, 40, 25)));
    t.push_back(locked(button(ControlId::OperandOne, "1", 839, 179, 21, 20)));
    t.push_back(locked(button(ControlId::OperandTwo, "2", 861, 179, 20, 20)));
    t.push_back(locked(button(ControlId::RunPrp, " Run> PRP/Pfgw", 25, 205, 95, 25)));
    t.push_back(locked(dropDown(ControlId::TestMode, 125, 207, 155, 20, Font::Control)));
    const struct { int id; const char* caption; int x; } memoryRow[] = {
        {ControlId::MemoryClear, "MC", 295}, {ControlId::MemoryStore, "M", 335}, {ControlId::MemoryRecall, "MR", 375}, {ControlId::MemoryAdd, "M+", 415}, {ControlId::MemorySubtract, "M-", 455}, {ControlId::CalculatorClear, "C", 495}};
    for (const auto& b : memoryRow)
        t.push_back(locked(button(b.id, b.caption, b.x, 205, 30, 25)));
    t.push_back(locked(button(ControlId::MemorySwap, "M<>D", 535, 205, 45, 25)));
    t.push_back(label(ControlId::CalcWithCaption, "Calc with:", 590, 210, 47, 18));
    t.push_back(locked({ControlId::OperandOption, K::Option, " Operand", 640, 209, 63, 18}));
    t.push_back(locked({ControlId::MemoryOption, K::Option, " Memory [ M ]", 707, 209, 82, 18}));
    t.push_back(locked(button(ControlId::CalculatorHelp, "Help", 845, 205, 35, 25)));
    t.push_back(frame(ControlId::OperationsFrame, "", 20, 230, 110, 85));
    t.push_back(locked(check(ControlId::AutoUndo, " Auto Undo", 145, 232, 80, 18)));
    t.push_back(label(ControlId::DigitCountCaption, "Current digit count:", 30, 241, 90, 18));
    t.push_back(label(ControlId::DigitCountDisplay, "", 27, 260, 90, 20, Align::Centre));
    t.push_back(locked(button(ControlId::UndoLastCalc, "Undo last CALC", 143, 255, 89, 25)));
    const struct { int id; const char* caption; int x; int w; } row1[] = {
        {ControlId::Add, "Add", 238, 35},      {ControlId::Subtract, "Subtract", 278, 55}, {ControlId::Reverse, "Reverse", 338, 55}, {ControlId::Divide, "Divide", 398, 50},
        {ControlId::Multiply, "Multiply", 453, 55}, {ControlId::Power, "Power", 513, 50},    {ControlId::Root, "Root", 570, 42},    {ControlId::PrevP, "PrevP", 619, 45},
        {ControlId::NextP, "NextP", 671, 45},    {ControlId::Lcm, "LCM", 722, 50},     {ControlId::Fact, "Fact", 780, 42},   {ControlId::LogX, "Logx(n)", 830, 50}};
    for (const auto& b : row1)
        t.push_back(locked(button(b.id, b.caption, b.x, 235, b.w, 20)));
    const struct { int id; const char* caption; int x; int w; } row2[] = {
        {ControlId::Mod, "Mod", 238, 35},        {ControlId::Gcd, "GCD", 278, 55},          {ControlId::GcfM, "GCF M", 338, 55}, {ControlId::ShiftLeft, "shift left", 398, 50},
        {ControlId::ShiftRight, "shift right", 453, 55}, {ControlId::Concat, "Concat", 513, 50},     {ControlId::TimesTen, "x 10", 570, 42},  {ControlId::DivideByTen, "/ 10", 619, 45},
        {ControlId::PlusUI, "+UI", 671, 45},        {ControlId::Analyze, "Analyze", 722, 50},     {ControlId::RootRem, "RootRem", 780, 56}};
    for (const auto& b : row2)
        t.push_back(locked(button(b.id, b.caption, b.x, 257, b.w, 20)));
    t.push_back(locked(button(ControlId::View, "View", 30, 281, 40, 25)));
    t.push_back(locked(button(ControlId::CopyNumber, "Copy", 80, 281, 40, 25)));
    t.push_back(label(ControlId::YourNumberCaption, "Your Number:", 145, 287, 66, 20));
    t.push_back(edit(ControlId::YourNumber, 213, 285, 412, 20, Input::Digits, 10000));
    t.push_back(locked(button(ControlId::Check, "< Check", 630, 282, 50, 25)));
    t.push_back(locked(button(ControlId::YourNumberPaste, "Paste", 685, 282, 40, 25)));
    t.push_back(locked(button(ControlId::YourNumberCopy, "Copy", 730, 282, 40, 25)));
    t.push_back(locked(button(ControlId::YourNumberClear, "C", 775, 282, 30, 25)));
    t.push_back(locked(button(ControlId::YourNumberToMemory, "M", 810, 282, 30, 25)));
    t.push_back(locked(button(ControlId::YourNumberToDisplay, ">>D", 845, 282, 35, 25)));

    // Other functions
    t.push_back(frame(ControlId::OtherFunctionsFrame, " Other functions ", 10, 345, 881, 82));
    t.push_back(locked(button(ControlId::VerifyFromFile, "Verify number from File", 20, 362, 125, 25)));
    t.push_back(locked(button(ControlId::VerifyClipboard, "Verify number ClipBoard", 153, 362, 130, 25)));
    t.push_back(readOnlyEdit(ControlId::DivisorLimitField, 370, 363, 45, 18));
    t.push_back(locked(dropDown(ControlId::DigitView, 442, 363, 85, 18, Font::Fixed)));
    t.push_back(label(ControlId::SegmentStartCaption, "Segment starting", 537, 367, 80, 18));
    t.push_back(edit(ControlId::SegmentStart, 620, 365, 65, 18, Input::Digits, 0, "0"));
    t.push_back(label(ControlId::SegmentEndCaption, "until", 690, 367, 22, 18));
    t.push_back(edit(ControlId::SegmentEnd, 715, 365, 65, 18, Input::Digits, 0, "0"));
    t.push_back(locked(button(ControlId::DigitStatistics, "< Digit Statistics", 790, 362, 90, 25)));
    t.push_back(label(ControlId::WorkDirectoryCaption, "Work directory", 22, 400, 72, 18));
    t.push_back(locked(button(ControlId::SetWorkDirectory, "SET", 95, 398, 40, 20)));
    t.push_back(edit(ControlId::WorkDirectory, 140, 398, 242, 20, Input::AnyText));
    t.push_back(label(ControlId::ParametersCaption, "Parameters:", 390, 400, 60, 18, Align::Right));
    t.push_back(locked(button(ControlId::SaveParameters, "SAVE", 453, 395, 45, 25)));
    t.push_back(locked(button(ControlId::LoadParameters, "LOAD", 503, 395, 45, 25)));
    t.push_back(locked(dropDown(ControlId::LimitsList, 552, 398, 193, 19, Font::Fixed)));
    t.push_back(edit(ControlId::LimitsValue, 750, 398, 80, 20, Input::Digits));
    t.push_back(button(ControlId::Apply, "Apply", 835, 395, 45, 25));

    // Outside the frames
    ControlSpec results{ControlId::ResultsList, K::ListBox, "", 10, 434, 881, 221};
    results.fixedFont = true;
    t.push_back(results);
    t.push_back(locked(button(ControlId::ClearResults, "Clear results", 10, 660, 80, 25)));
    t.push_back(locked(button(ControlId::CopyAll, "Copy ALL", 100, 660, 65, 25)));
    t.push_back(button(ControlId::CopyLine, "Copy Line", 175, 660, 65, 25));
    t.push_back(locked(button(ControlId::ExportToExcel, "Export to Excel", 250, 660, 90, 25)));
    t.push_back(locked(button(ControlId::UserManual, "User Manual", 530, 660, 80, 25)));
    t.push_back(label(ControlId::UpdatesCaption, "Check for updates:", 625, 665, 90, 18));
    t.push_back(locked({ControlId::Website, K::Link, "Website", 720, 665, 45, 18, Align::Left, Colour::Blue}));
    t.push_back(locked(button(ControlId::About, "? About", 775, 660, 56, 25)));
    t.push_back(locked(button(ControlId::Exit, "EXIT", 840, 660, 50, 25)));
    return t;
}

std::vector<DropDownList> buildDropDowns()
{
    std::vector<DropDownItem> testModes;
    for (const TestMode& mode : kTestModes)
        testModes.push_back({mode.caption, static_cast<int>(testModes.size())});
    return {
        {ControlId::ChaosLevel, 4,
         {{"Level of 'Chaos'", 0},
          {"1-none", 1},
          {"2-low", 2},
          {"3-normal", 3},
          {"4-medium", 4},
          {"5-high", 5},
          {"6-maximum", 6}}},
        {ControlId::DigitView, 0,
         {{"  Digits", 0},
          {"All", 999},
          {"Last 100", 100},
          {"Last 300", 300},
          {"Last 500", 500},
          {"1000...", 1000},
          {"10000...", 10000},
          {"20000...", 20000},
          {"50000...", 50000}}},
        {ControlId::LimitsList, 0,
         {{"Limits     > Caution! <", 0},
          {"Large numbers start", 2},
          {"Digits factorization", 3},
          {"Digits view number", 4},
          {"Limit 'NextP/PrevP'", 5},
          {"Lines for Excel", 6},
          {"Operating number", 7},
          {"History lines saved", 8},
          {"Limit digits generation", 9},
          {"Internal limit - minutes", 10}}},
        {ControlId::TestMode, kStartTestMode, std::move(testModes)},
    };
}

}  // namespace

const std::vector<ControlSpec>& controlTable()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}

const ControlSpec* findControl(int id)
{
    for (const ControlSpec& spec : controlTable())
        if (spec.id == id)
            return &spec;
    return nullptr;
}

const std::vector<DropDownList>& dropDownLists()
{
    static const std::vector<DropDownList> lists = buildDropDowns();
    return lists;
}

}  // namespace ui
