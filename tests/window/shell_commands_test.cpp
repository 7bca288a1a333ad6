// The shell's own behaviour through the real window: control lock, results
// list conventions, View, Limits, EXIT and the close box.
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QTimer>

#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "support/window_fixture.h"
#include "ui/control_ids.h"

using namespace testing_support;
using ui::Answer;

class ShellCommands : public WindowTest {};

TEST_F(ShellCommands, control_lock_disables_exactly_its_list_and_enables_stop)
{
    using namespace ui::ControlId;
    const std::set<int> locked = {
        CopyAll, ExportToExcel, StartGeneration, About, Exit, DigitStatistics, VerifyClipboard, SaveParameters,
        LoadParameters, VerifyFromFile, SaveNumber, Check, YourNumberPaste, YourNumberClear, ClearResults, Add,
        Subtract, Divide, Multiply, Mod, Gcd, ShiftLeft, ShiftRight, UndoLastCalc, Power, NextP, PrevP,
        TestMode, OperandPaste, OperandClear, OperandCopy, YourNumberCopy, Root, View, SetWorkDirectory,
        OperandOne, OperandTwo, Reverse, TimesTen, DivideByTen, PlusUI, UserManual, CalculatorHelp, Lcm, Fact,
        Analyze, Concat, GcfM, IsPrime, CalculatorClear, MemorySwap, LoadPrevious, MemoryClear, MemoryStore,
        MemoryAdd, MemoryRecall, MemorySubtract, LogX, MemoryOption, OperandOption, ChaosLevel, DigitView,
        LimitsList, AutoUndo, Website, AllowReturm, OnSegment, Phi, RunPrp, FinalDigit1, FinalDigit3,
        FinalDigit7, FinalDigit9, StartDigit1, StartDigit2, StartDigit3, StartDigit4, StartDigit5, StartDigit6,
        StartDigit7, StartDigit8, Mersenne, Signature, StartDigit9, StartDigit0, LoadNumber, RootRem,
        CopyNumber, YourNumberToMemory, YourNumberToDisplay, Segment, BlockSize, TotalDigits, SignaturePaste,
        SignatureCopy, SignatureClear, Iconic, IconicDigit};
    setText(ui::ControlId::NextPrevElapsed, "5 s");
    tick(ui::ControlId::Stop, true);
    shell::setControlLock(app->context(), true);
    for (const auto& [id, widget] : app->context().controls.all()) {
        if (id == ui::ControlId::Stop)
            continue;
        bool expectDisabled = locked.count(id) || id == ui::ControlId::CopyLine || id == ui::ControlId::Apply;
        EXPECT_EQ(enabled(id), !expectDisabled) << "control " << id;
    }
    EXPECT_TRUE(enabled(ui::ControlId::Stop));
    EXPECT_FALSE(checked(ui::ControlId::Stop)) << "locking unticks STOP";
    EXPECT_EQ(text(ui::ControlId::NextPrevElapsed), "");

    tick(ui::ControlId::Stop, true);
    shell::setControlLock(app->context(), false);
    for (int id : locked)
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled(ui::ControlId::Stop));
    EXPECT_FALSE(checked(ui::ControlId::Stop));
}

TEST_F(ShellCommands, status_line_shows_a_long_number_as_head_dots_tail)
{
    std::string number;
    for (int i = 0; i < 300; ++i)
        number += char('0' + (i * 7 + 3) % 10);
    setCurrentNumber(number);
    QString expected = QString::fromStdString(number.substr(0, 68)) + "..." + QString::fromStdString(number.substr(300 - 28));
    EXPECT_EQ(text(ui::ControlId::StatusLine), expected);
    QString line = shell::numberLine(app->context(), number);
    EXPECT_EQ(line, "Number > " + QString::fromStdString(number.substr(0, 77)) + "..." +
                        QString::fromStdString(number.substr(300 - 33)));
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "300");
    EXPECT_EQ(text(ui::ControlId::SegmentStart), "1");
    EXPECT_EQ(text(ui::ControlId::SegmentEnd), "300");
}

TEST_F(ShellCommands, view_lists_the_number_up_to_the_limit_and_refuses_one_digit_more)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::View);
    EXPECT_EQ(dialogs.last().text, "There is currently no number generated in memory!");

    setCurrentNumber(std::string(3000, '7'));
    click(ui::ControlId::View);
    EXPECT_EQ(lastLine(), QString(122, '-'));
    EXPECT_EQ(lastLine(1), QString(3000 % 122, '7'));
    EXPECT_TRUE(hasLine("Number in memory with 3000 digits:"));
    int numberLines = 0;
    for (const QString& l : lines())
        numberLines += l.startsWith('7');
    EXPECT_EQ(numberLines, 25);

    setCurrentNumber(std::string(3001, '7'));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::View);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "The number has more than 3,000 digits; to view it completely, save it via the "
                                   "'Save NUMBER' button and open it via Notepad.");
}

TEST_F(ShellCommands, first_output_clears_the_notes_and_clear_results_asks_first)
{
    setCurrentNumber("12345");
    click(ui::ControlId::View);
    EXPECT_EQ(lines().first(), QString(122, '-'));
    EXPECT_NE(lines().value(1).trimmed(), "N O T E S");
    int before = lines().size();

    dialogs.willAnswer(Answer::No);
    click(ui::ControlId::ClearResults);
    EXPECT_EQ(dialogs.last().text, "Do you want To clear the activity logs?");
    EXPECT_EQ(dialogs.last().title, "Attention!");
    EXPECT_EQ(lines().size(), before);

    setText(ui::ControlId::Tot, "9");
    dialogs.willAnswer(Answer::Yes);
    click(ui::ControlId::ClearResults);
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(text(ui::ControlId::Tot), "0");

    click(ui::ControlId::CopyAll);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "") << "Copy ALL of an empty list";
}

TEST_F(ShellCommands, copy_all_and_copy_line_put_lines_on_the_clipboard)
{
    setCurrentNumber("42");
    click(ui::ControlId::View);
    click(ui::ControlId::CopyAll);
    QString all = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(all.endsWith(QString(122, '-') + "\r\n"));
    EXPECT_TRUE(all.contains("Number in memory with 2 digits:\r\n42\r\n"));

    EXPECT_FALSE(enabled(ui::ControlId::CopyLine));
    app->window().resultsWidget()->setCurrentRow(1);
    EXPECT_TRUE(enabled(ui::ControlId::CopyLine)) << "selecting a line enables Copy Line";
    click(ui::ControlId::CopyLine);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Number in memory with 2 digits:");
}

TEST_F(ShellCommands, field_buttons_copy_clear_and_set_the_operand)
{
    setText(ui::ControlId::YourNumber, " 123 ");
    click(ui::ControlId::YourNumberCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "123");
    click(ui::ControlId::YourNumberClear);
    EXPECT_EQ(text(ui::ControlId::YourNumber), "");
    click(ui::ControlId::OperandClear);
    EXPECT_EQ(text(ui::ControlId::Operand), "0");
    click(ui::ControlId::OperandOne);
    EXPECT_EQ(text(ui::ControlId::Operand), "1");
    click(ui::ControlId::OperandTwo);
    EXPECT_EQ(text(ui::ControlId::Operand), "2");
    setText(ui::ControlId::Signature, "Sig");
    click(ui::ControlId::SignatureClear);
    EXPECT_EQ(text(ui::ControlId::Signature), "");
}

TEST_F(ShellCommands, set_stores_the_chosen_directory_and_cancel_changes_nothing)
{
    dialogs.willChooseFile("");
    click(ui::ControlId::SetWorkDirectory);
    EXPECT_EQ(dialogs.last().title, "Define in which directory the generated files will be saved...");
    EXPECT_EQ(text(ui::ControlId::WorkDirectory), "");

    dialogs.willChooseFile(QString::fromStdString(workDir().string()));
    click(ui::ControlId::SetWorkDirectory);
    EXPECT_EQ(text(ui::ControlId::WorkDirectory), QString::fromStdString(workDir().string()) + "/");
    EXPECT_EQ(app->state().parameterTable.entry(1), workDir().string() + "/");
}

TEST_F(ShellCommands, digit_view_list_sets_the_segment_fields)
{
    setCurrentNumber(std::string(1000, '1'));
    choose(ui::ControlId::DigitView, 2);  // Last 100
    EXPECT_EQ(text(ui::ControlId::SegmentStart), "901");
    EXPECT_EQ(text(ui::ControlId::SegmentEnd), "1000");
    setCurrentNumber(std::string(300, '1'));
    choose(ui::ControlId::DigitView, 4);  // Last 500 on 300 digits
    EXPECT_EQ(app->context().controls.selectedIndex(ui::ControlId::DigitView), 0);
    EXPECT_EQ(text(ui::ControlId::SegmentStart), "1");
    EXPECT_EQ(text(ui::ControlId::SegmentEnd), "300");
    choose(ui::ControlId::DigitView, 0);  // the title row counts as 0 digits: an empty segment
    EXPECT_EQ(text(ui::ControlId::SegmentStart), "301");
    EXPECT_EQ(text(ui::ControlId::SegmentEnd), "300");
}

TEST_F(ShellCommands, exit_and_close_box_are_ignored_while_a_command_runs)
{
    bool closedWhileBusy = true;
    app->dispatcher().on(ui::ControlId::StartGeneration, [&](shell::AppContext& ctx) {
        shell::setControlLock(ctx, true);
        closedWhileBusy = app->window().close();
        ctx.controls.click(ui::ControlId::Exit);  // disabled by the lock, and a command runs anyway
        shell::setControlLock(ctx, false);
    });
    click(ui::ControlId::StartGeneration);
    EXPECT_FALSE(closedWhileBusy);
    EXPECT_FALSE(app->state().quitRequested);

    click(ui::ControlId::Exit);
    EXPECT_TRUE(app->state().quitRequested);
}

TEST_F(ShellCommands, close_box_while_idle_ends_the_program)
{
    EXPECT_TRUE(app->window().close());
    EXPECT_TRUE(app->state().quitRequested);
}

struct LimitCase {
    int entry;
    const char* typed;
    int64_t stored;
    const char* message;
};

void PrintTo(const LimitCase& c, std::ostream* out) { *out << "entry " << c.entry << " typed \"" << c.typed << "\""; }

class LimitsApply : public WindowTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(LimitsApply, stores_the_value_or_resets_it_with_the_message)
{
    const LimitCase& c = GetParam();
    choose(ui::ControlId::LimitsList, c.entry);
    EXPECT_TRUE(enabled(ui::ControlId::Apply));
    setText(ui::ControlId::LimitsValue, c.typed);
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Apply);
    EXPECT_EQ(dialogs.last().title, "Success!");
    EXPECT_EQ(dialogs.last().text, c.message);
    EXPECT_EQ(app->state().limits[c.entry], c.stored);
    EXPECT_EQ(app->state().parameterTable.limitText(c.entry), std::to_string(c.stored));
    EXPECT_FALSE(enabled(ui::ControlId::Apply));
    EXPECT_EQ(text(ui::ControlId::LimitsValue), "");
    EXPECT_EQ(app->context().controls.selectedIndex(ui::ControlId::LimitsList), 0);
    bool inRange = QString(c.message).contains("has been changed");
    EXPECT_EQ(hasLine(QString(c.message).section('\r', 0, 0)), inRange);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, LimitsApply,
    ::testing::Values(
        LimitCase{1, "3000", 3000, "Large numbers start has been changed to 3,000\r\r>>> Remember to save these settings to your\r         parameter file (.qdx) using the SAVE button."},
        LimitCase{1, "9000", 9000, "Large numbers start has been changed to 9,000\r\r>>> Remember to save these settings to your\r         parameter file (.qdx) using the SAVE button."},
        LimitCase{1, "2999", 7000, "Value out of range - reset To Default: 7,000\r\rThe current limit is: 9,000"},
        LimitCase{1, "9001", 7000, "Value out of range - reset To Default: 7,000\r\rThe current limit is: 9,000"},
        LimitCase{3, "100", 100, "Digits view number has been changed to 100\r\r>>> Remember to save these settings to your\r         parameter file (.qdx) using the SAVE button."},
        LimitCase{8, "", 78000000, "Value out of range - reset To Default: 78,000,000\r\rThe current limit is: 78,000,000"},
        LimitCase{9, "60", 60, "Internal limit - minutes has been changed to 60\r\r>>> Remember to save these settings to your\r         parameter file (.qdx) using the SAVE button."},
        LimitCase{9, "0", 14400, "Value out of range - reset To Default: 14,400\r\rThe current limit is: 14,400"},
        LimitCase{9, "14401", 14400, "Value out of range - reset To Default: 14,400\r\rThe current limit is: 14,400"}),
    [](const ::testing::TestParamInfo<LimitCase>& info) {
        return "entry" + std::to_string(info.param.entry) + "_typed_" + (*info.param.typed ? info.param.typed : "empty");
    });

TEST_F(ShellCommands, limits_title_item_disables_apply_and_view_follows_a_lowered_limit)
{
    choose(ui::ControlId::LimitsList, 3);
    EXPECT_EQ(text(ui::ControlId::LimitsValue), "3000");
    choose(ui::ControlId::LimitsList, 0);
    EXPECT_FALSE(enabled(ui::ControlId::Apply));
    EXPECT_EQ(text(ui::ControlId::LimitsValue), "");

    choose(ui::ControlId::LimitsList, 3);
    setText(ui::ControlId::LimitsValue, "100");
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Apply);
    setCurrentNumber(std::string(101, '3'));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::View);
    EXPECT_TRUE(dialogs.last().text.startsWith("The number has more than 100 digits;"));
    EXPECT_EQ(app->state().limits.internalTimeLimitMs(), 14400LL * 60000);
}
