// The window checked against the control table as written down by hand here,
// independently of the table the window is built from.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/window_fixture.h"
#include "ui/control_ids.h"

using namespace testing_support;

namespace {

using namespace ui;

// kinds: B button, X check box, O option, T text, E edit, D drop-down, L list,
// F frame, K link. Captions as they stand after start-up.
struct ExpectedControl {
    int id;
    char kind;
    const char* caption;
    int x, y, width, height;
};

const ExpectedControl kExpected[] = {
    {ControlId::GenerationFrame, 'F', " Define parameters for Generation ", 10, 3, 881, 113},
    {ControlId::FinalDigitsCaption, 'T', "Valid final digits", 30, 22, 75, 20},
    {ControlId::FinalDigit1, 'X', "1", 110, 20, 25, 20},
    {ControlId::FinalDigit3, 'X', "3", 140, 20, 25, 20},
    {ControlId::FinalDigit7, 'X', "7", 170, 20, 25, 20},
    {ControlId::FinalDigit9, 'X', "9", 200, 20, 25, 20},
    {ControlId::StartDigitsCaption, 'T', "Valid starting digits", 240, 22, 90, 20},
    {ControlId::StartDigit1, 'X', "1", 335, 20, 25, 20},
    {ControlId::StartDigit2, 'X', "2", 365, 20, 25, 20},
    {ControlId::StartDigit3, 'X', "3", 395, 20, 25, 20},
    {ControlId::StartDigit4, 'X', "4", 425, 20, 25, 20},
    {ControlId::StartDigit5, 'X', "5", 455, 20, 25, 20},
    {ControlId::StartDigit6, 'X', "6", 485, 20, 25, 20},
    {ControlId::StartDigit7, 'X', "7", 515, 20, 25, 20},
    {ControlId::StartDigit8, 'X', "8", 545, 20, 25, 20},
    {ControlId::StartDigit9, 'X', "9", 575, 20, 25, 20},
    {ControlId::StartDigit0, 'X', "0", 605, 20, 25, 20},
    {ControlId::AllowReturm, 'X', "Allow Returm", 670, 20, 80, 18},
    {ControlId::OnSegment, 'X', "on segment?", 755, 20, 80, 18},
    {ControlId::Phi, 'X', "Phi?", 843, 20, 40, 18},
    {ControlId::TotalDigitsCaption, 'T', "Total digits", 30, 45, 55, 18},
    {ControlId::TotalDigits, 'E', "1111", 90, 43, 70, 20},
    {ControlId::StartGeneration, 'B', "START Generation", 165, 41, 115, 26},
    {ControlId::Stop, 'X', " STOP", 285, 44, 50, 18},
    {ControlId::Tot, 'T', "0", 380, 45, 60, 14},
    {ControlId::TotCaption, 'T', "TOT", 447, 45, 23, 18},
    {ControlId::Div1, 'T', "0", 490, 45, 60, 14},
    {ControlId::Div1Caption, 'T', "Div1", 557, 45, 23, 14},
    {ControlId::Qty, 'T', "0", 585, 45, 65, 14},
    {ControlId::QtyCaption, 'T', "QTY", 657, 45, 23, 14},
    {ControlId::Div2, 'T', "0", 490, 60, 60, 14},
    {ControlId::Div2Caption, 'T', "Div2", 557, 60, 23, 14},
    {ControlId::PrpElapsed, 'T', "", 585, 60, 65, 14},
    {ControlId::PrpCaption, 'T', "PRP", 657, 60, 23, 14},
    {ControlId::Div3, 'T', "0", 490, 75, 60, 14},
    {ControlId::Div3Caption, 'T', "Div3", 557, 75, 23, 14},
    {ControlId::NextPrevElapsed, 'T', "", 585, 75, 65, 14},
    {ControlId::NextPrevCaption, 'T', "P~N", 657, 75, 23, 14},
    {ControlId::IsPElapsed, 'T', "", 585, 90, 65, 14},
    {ControlId::IsPCaption, 'T', "Is_P", 657, 90, 23, 14},
    {ControlId::TesterProgress, 'T', "", 710, 92, 170, 14},
    {ControlId::SegmentCaption, 'T', "Segment", 692, 45, 45, 18},
    {ControlId::Segment, 'E', "", 743, 44, 50, 18},
    {ControlId::BlockSizeCaption, 'T', "Block size", 802, 45, 50, 18},
    {ControlId::BlockSize, 'E', "", 860, 45, 20, 18},
    {ControlId::ChaosLevel, 'D', "4-medium", 710, 68, 170, 18},
    {ControlId::SignatureCaption, 'T', "Your signature:", 30, 72, 73, 18},
    {ControlId::Signature, 'E', "", 110, 69, 250, 18},
    {ControlId::SignaturePaste, 'B', "Paste", 365, 67, 40, 20},
    {ControlId::SignatureCopy, 'B', "Copy", 410, 67, 40, 20},
    {ControlId::SignatureClear, 'B', "C", 455, 67, 30, 20},
    {ControlId::Mersenne, 'X', " Mersenne?", 30, 93, 75, 14},
    {ControlId::Iconic, 'X', " Iconic with digit", 120, 93, 93, 14},
    {ControlId::IconicDigit, 'E', "", 215, 91, 15, 16},
    {ControlId::LoadPrevious, 'X', " Load Previous Processing", 260, 93, 145, 14},
    {ControlId::CalculatorFrame, 'F', " Calculations and analysis with the number stored in memory ", 10, 119, 881, 222},
    {ControlId::CurrentNumberFrame, 'F', " Current Number ", 175, 134, 706, 38},
    {ControlId::StatusLine, 'T', "0", 180, 152, 700, 16},
    {ControlId::SaveNumber, 'B', "Save NUMBER", 25, 145, 95, 25},
    {ControlId::IsPrime, 'B', "Is P?", 125, 145, 40, 25},
    {ControlId::LoadNumber, 'B', "Load NUMBER", 25, 175, 95, 25},
    {ControlId::OperandLabel, 'T', "Operand:", 126, 181, 65, 18},
    {ControlId::Operand, 'E', "2", 198, 178, 497, 20},
    {ControlId::MemoryDisplay, 'E', "0", 198, 178, 497, 20},
    {ControlId::OperandPaste, 'B', "Paste", 700, 176, 45, 25},
    {ControlId::OperandClear, 'B', "Clear", 750, 176, 40, 25},
    {ControlId::OperandCopy, 'B', "Copy", 795, 176, 40, 25},
    {ControlId::OperandOne, 'B', "1", 839, 179, 21, 20},
    {ControlId::OperandTwo, 'B', "2", 861, 179, 20, 20},
    {ControlId::RunPrp, 'B', " Run> PRP/Pfgw", 25, 205, 95, 25},
    {ControlId::TestMode, 'D', "PRP test only ( no trial div )", 125, 207, 155, 20},
    {ControlId::MemoryClear, 'B', "MC", 295, 205, 30, 25},
    {ControlId::MemoryStore, 'B', "M", 335, 205, 30, 25},
    {ControlId::MemoryRecall, 'B', "MR", 375, 205, 30, 25},
    {ControlId::MemoryAdd, 'B', "M+", 415, 205, 30, 25},
    {ControlId::MemorySubtract, 'B', "M-", 455, 205, 30, 25},
    {ControlId::CalculatorClear, 'B', "C", 495, 205, 30, 25},
    {ControlId::MemorySwap, 'B', "M<>D", 535, 205, 45, 25},
    {ControlId::CalcWithCaption, 'T', "Calc with:", 590, 210, 47, 18},
    {ControlId::OperandOption, 'O', " Operand", 640, 209, 63, 18},
    {ControlId::MemoryOption, 'O', " Memory [ M ]", 707, 209, 82, 18},
    {ControlId::CalculatorHelp, 'B', "Help", 845, 205, 35, 25},
    {ControlId::OperationsFrame, 'F', "", 20, 230, 110, 85},
    {ControlId::AutoUndo, 'X', " Auto Undo", 145, 232, 80, 18},
    {ControlId::DigitCountCaption, 'T', "Current digit count:", 30, 241, 90, 18},
    {ControlId::DigitCountDisplay, 'T', "0", 27, 260, 90, 20},
    {ControlId::UndoLastCalc, 'B', "Undo last CALC", 143, 255, 89, 25},
    {ControlId::Add, 'B', "Add", 238, 235, 35, 20},
    {ControlId::Subtract, 'B', "Subtract", 278, 235, 55, 20},
    {ControlId::Reverse, 'B', "Reverse", 338, 235, 55, 20},
    {ControlId::Divide, 'B', "Divide", 398, 235, 50, 20},
    {ControlId::Multiply, 'B', "Multiply", 453, 235, 55, 20},
    {ControlId::Power, 'B', "Power", 513, 235, 50, 20},
    {ControlId::Root, 'B', "Root", 570, 235, 42, 20},
    {ControlId::PrevP, 'B', "PrevP", 619, 235, 45, 20},
    {ControlId::NextP, 'B', "NextP", 671, 235, 45, 20},
    {ControlId::Lcm, 'B', "LCM", 722, 235, 50, 20},
    {ControlId::Fact, 'B', "Fact", 780, 235, 42, 20},
    {ControlId::LogX, 'B', "Logx(n)", 830, 235, 50, 20},
    {ControlId::Mod, 'B', "Mod", 238, 257, 35, 20},
    {ControlId::Gcd, 'B', "GCD", 278, 257, 55, 20},
    {ControlId::GcfM, 'B', "GCF M", 338, 257, 55, 20},
    {ControlId::ShiftLeft, 'B', "shift left", 398, 257, 50, 20},
    {ControlId::ShiftRight, 'B', "shift right", 453, 257, 55, 20},
    {ControlId::Concat, 'B', "Concat", 513, 257, 50, 20},
    {ControlId::TimesTen, 'B', "x 10", 570, 257, 42, 20},
    {ControlId::DivideByTen, 'B', "÷ 10", 619, 257, 45, 20},
    {ControlId::PlusUI, 'B', "+UI", 671, 257, 45, 20},
    {ControlId::Analyze, 'B', "Analyze", 722, 257, 50, 20},
    {ControlId::RootRem, 'B', "RootRem", 780, 257, 56, 20},
    {ControlId::View, 'B', "View", 30, 281, 40, 25},
    {ControlId::CopyNumber, 'B', "Copy", 80, 281, 40, 25},
    {ControlId::YourNumberCaption, 'T', "Your Number:", 145, 287, 66, 20},
    {ControlId::YourNumber, 'E', "", 213, 285, 412, 20},
    {ControlId::Check, 'B', "< Check", 630, 282, 50, 25},
    {ControlId::YourNumberPaste, 'B', "Paste", 685, 282, 40, 25},
    {ControlId::YourNumberCopy, 'B', "Copy", 730, 282, 40, 25},
    {ControlId::YourNumberClear, 'B', "C", 775, 282, 30, 25},
    {ControlId::YourNumberToMemory, 'B', "M", 810, 282, 30, 25},
    {ControlId::YourNumberToDisplay, 'B', ">>D", 845, 282, 35, 25},
    {ControlId::OtherFunctionsFrame, 'F', " Other functions ", 10, 345, 881, 82},
    {ControlId::VerifyFromFile, 'B', "Verify number from File", 20, 362, 125, 25},
    {ControlId::VerifyClipboard, 'B', "Verify number ClipBoard", 153, 362, 130, 25},
    {ControlId::DivisorLimitField, 'E', "300000", 370, 363, 45, 18},
    {ControlId::DigitView, 'D', "  Digits", 442, 363, 85, 18},
    {ControlId::SegmentStartCaption, 'T', "Segment starting", 537, 367, 80, 18},
    {ControlId::SegmentStart, 'E', "0", 620, 365, 65, 18},
    {ControlId::SegmentEndCaption, 'T', "until", 690, 367, 22, 18},
    {ControlId::SegmentEnd, 'E', "0", 715, 365, 65, 18},
    {ControlId::DigitStatistics, 'B', "< Digit Statistics", 790, 362, 90, 25},
    {ControlId::WorkDirectoryCaption, 'T', "Work directory", 22, 400, 72, 18},
    {ControlId::SetWorkDirectory, 'B', "SET", 95, 398, 40, 20},
    {ControlId::WorkDirectory, 'E', "", 140, 398, 242, 20},
    {ControlId::ParametersCaption, 'T', "Parameters:", 390, 400, 60, 18},
    {ControlId::SaveParameters, 'B', "SAVE", 453, 395, 45, 25},
    {ControlId::LoadParameters, 'B', "LOAD", 503, 395, 45, 25},
    {ControlId::LimitsList, 'D', "Limits     > Caution! <", 552, 398, 193, 19},
    {ControlId::LimitsValue, 'E', "", 750, 398, 80, 20},
    {ControlId::Apply, 'B', "Apply", 835, 395, 45, 25},
    {ControlId::ResultsList, 'L', "", 10, 434, 881, 221},
    {ControlId::ClearResults, 'B', "Clear results", 10, 660, 80, 25},
    {ControlId::CopyAll, 'B', "Copy ALL", 100, 660, 65, 25},
    {ControlId::CopyLine, 'B', "Copy Line", 175, 660, 65, 25},
    {ControlId::ExportToExcel, 'B', "Export to Excel", 250, 660, 90, 25},
    {ControlId::UserManual, 'B', "User Manual", 530, 660, 80, 25},
    {ControlId::UpdatesCaption, 'T', "Check for updates:", 625, 665, 90, 18},
    {ControlId::Website, 'K', "Website", 720, 665, 45, 18},
    {ControlId::About, 'B', "? About", 775, 660, 56, 25},
    {ControlId::Exit, 'B', "EXIT", 840, 660, 50, 25},
};

bool hasKind(QWidget* w, char kind)
{
    switch (kind) {
    case 'B': return qobject_cast<QPushButton*>(w) != nullptr;
    case 'X': return qobject_cast<QCheckBox*>(w) != nullptr;
    case 'O': return qobject_cast<QRadioButton*>(w) != nullptr;
    case 'T': return qobject_cast<QLabel*>(w) != nullptr && QString(w->metaObject()->className()) == "QLabel";
    case 'K': return qobject_cast<QLabel*>(w) != nullptr && QString(w->metaObject()->className()) != "QLabel";
    case 'E': return qobject_cast<QLineEdit*>(w) != nullptr;
    case 'D': return qobject_cast<QComboBox*>(w) != nullptr;
    case 'L': return qobject_cast<QListWidget*>(w) != nullptr;
    case 'F': return qobject_cast<QGroupBox*>(w) != nullptr;
    }
    return false;
}

}  // namespace

class WindowLayout : public WindowTest {};

TEST_F(WindowLayout, every_control_has_its_id_kind_caption_and_geometry)
{
    ui::Controls& controls = app->context().controls;
    std::set<int> expectedIds;
    for (const ExpectedControl& e : kExpected) {
        const int id = e.id;
        expectedIds.insert(id);
        QWidget* w = controls.widget(id);
        ASSERT_NE(w, nullptr) << "missing control " << id;
        EXPECT_TRUE(hasKind(w, e.kind)) << "kind of " << id;
        EXPECT_EQ(controls.text(id), QString::fromUtf8(e.caption)) << "caption of " << id;
        EXPECT_EQ(w->geometry(), QRect(e.x, e.y, e.width, e.height)) << "geometry of " << id;
    }
    EXPECT_EQ(controls.all().size(), expectedIds.size()) << "controls not in the table";
}

TEST_F(WindowLayout, window_is_fixed_size_titled_and_starts_in_its_initial_state)
{
    ui::MainWindow& w = app->window();
    EXPECT_EQ(w.windowTitle(), "Quendrolt - version 0.96 beta");
    EXPECT_EQ(w.size(), QSize(902, 706));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);

    for (int box : {ui::ControlId::FinalDigit1, ui::ControlId::FinalDigit3, ui::ControlId::FinalDigit7, ui::ControlId::FinalDigit9, ui::ControlId::StartDigit1, ui::ControlId::StartDigit2, ui::ControlId::StartDigit3, ui::ControlId::StartDigit4, ui::ControlId::StartDigit5, ui::ControlId::StartDigit6, ui::ControlId::StartDigit7, ui::ControlId::StartDigit8, ui::ControlId::StartDigit9})
        EXPECT_TRUE(checked(box)) << box;
    for (int box : {ui::ControlId::StartDigit0, ui::ControlId::AllowReturm, ui::ControlId::OnSegment, ui::ControlId::Phi, ui::ControlId::Stop, ui::ControlId::AutoUndo, ui::ControlId::Mersenne, ui::ControlId::LoadPrevious, ui::ControlId::Iconic, ui::ControlId::MemoryOption})
        EXPECT_FALSE(checked(box)) << box;
    EXPECT_TRUE(checked(ui::ControlId::OperandOption));
    EXPECT_TRUE(visible(ui::ControlId::Operand));
    EXPECT_FALSE(visible(ui::ControlId::MemoryDisplay));
    EXPECT_FALSE(enabled(ui::ControlId::Apply)) << "Apply";
    EXPECT_FALSE(enabled(ui::ControlId::Stop)) << "STOP is usable only while locked";
}

TEST_F(WindowLayout, drop_down_lists_hold_their_items_and_values)
{
    ui::Controls& c = app->context().controls;
    struct Item { int list; int index; const char* caption; int value; };
    for (Item item : {Item{ui::ControlId::ChaosLevel, 0, "Level of 'Chaos'", 0}, Item{ui::ControlId::ChaosLevel, 6, "6-maximum", 6}, Item{ui::ControlId::DigitView, 1, "All", 999},
                      Item{ui::ControlId::DigitView, 8, "50000...", 50000}, Item{ui::ControlId::LimitsList, 1, "Large numbers start", 2},
                      Item{ui::ControlId::LimitsList, 9, "Internal limit - minutes", 10}, Item{ui::ControlId::TestMode, 0, "Trial division only ( fast )", 0},
                      Item{ui::ControlId::TestMode, 9, "Factor deep scan to 10^9", 9}}) {
        EXPECT_EQ(c.itemText(item.list, item.index), item.caption);
        EXPECT_EQ(c.itemValue(item.list, item.index), item.value) << item.caption;
    }
    EXPECT_EQ(c.itemCount(ui::ControlId::ChaosLevel), 7);
    EXPECT_EQ(c.itemCount(ui::ControlId::DigitView), 9);
    EXPECT_EQ(c.itemCount(ui::ControlId::LimitsList), 10);
    EXPECT_EQ(c.itemCount(ui::ControlId::TestMode), 10);
}

TEST_F(WindowLayout, fonts_and_colours_follow_the_table)
{
    ui::Controls& c = app->context().controls;
    for (int id : {ui::ControlId::ResultsList, ui::ControlId::ChaosLevel, ui::ControlId::DigitView, ui::ControlId::LimitsList, ui::ControlId::StatusLine})
        EXPECT_TRUE(QFontInfo(c.widget(id)->font()).fixedPitch()) << id;
    EXPECT_FALSE(QFontInfo(c.widget(ui::ControlId::StartGeneration)->font()).fixedPitch());
    auto textColour = [&](int id) { return c.widget(id)->palette().color(QPalette::WindowText); };
    EXPECT_EQ(textColour(ui::ControlId::Tot), QColor(0, 0, 255));
    EXPECT_EQ(textColour(ui::ControlId::StatusLine), QColor(0, 0, 255));
    EXPECT_EQ(textColour(ui::ControlId::Website), QColor(0, 0, 255));
    for (int red : {ui::ControlId::Div1, ui::ControlId::Div2, ui::ControlId::Div3})
        EXPECT_EQ(textColour(red), QColor(255, 0, 0)) << red;
    EXPECT_EQ(c.widget(ui::ControlId::MemoryDisplay)->palette().color(QPalette::Text), QColor(255, 0, 0));
    for (int green : {ui::ControlId::NextPrevElapsed, ui::ControlId::PrpElapsed, ui::ControlId::IsPElapsed})
        EXPECT_EQ(textColour(green), QColor(0, 128, 0)) << green;
}

TEST_F(WindowLayout, edits_refuse_letters_and_text_beyond_their_limits)
{
    ui::Controls& c = app->context().controls;
    auto* yourNumber = qobject_cast<QLineEdit*>(c.widget(ui::ControlId::YourNumber));
    yourNumber->clear();
    QTest::keyClicks(yourNumber, "12a3b");
    EXPECT_EQ(yourNumber->text(), "123");
    struct Limit { int id; int max; };
    for (Limit l : {Limit{ui::ControlId::YourNumber, 10000}, Limit{ui::ControlId::Operand, 10000}, Limit{ui::ControlId::Signature, 60}, Limit{ui::ControlId::IconicDigit, 1}})
        EXPECT_EQ(qobject_cast<QLineEdit*>(c.widget(l.id))->maxLength(), l.max) << l.id;
    auto* signature = qobject_cast<QLineEdit*>(c.widget(ui::ControlId::Signature));
    QTest::keyClicks(signature, "Ab c!");
    EXPECT_EQ(signature->text(), "Ab c!") << "the signature takes any character";
}

TEST_F(WindowLayout, start_up_notes_have_notes_on_their_second_line)
{
    QStringList all = lines();
    ASSERT_GE(all.size(), 3);
    EXPECT_EQ(all[0], QString(122, '-'));
    EXPECT_EQ(all[1].trimmed(), "N O T E S");
    EXPECT_EQ(all[1], QString(55, ' ') + "N O T E S");
    EXPECT_EQ(all.last(), QString(122, '-'));
}
