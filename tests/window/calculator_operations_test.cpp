// The calculator through its buttons: results, history lines, the questions
// and refusals of the pre-checks, the operand checks, Auto Undo, Undo and
// the ends of a worker run (STOP, time limit, a child that dies).
#include <QTimer>
#include <optional>

#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

const QString kSeparator(122, '-');

struct OperationCase {
    const char* name;
    int button;
    std::string number;
    QString operand;
    std::string expected;          // the current number afterwards
    QString history;               // first history line, empty when nothing is computed
    std::optional<QString> value;  // "Value used " + value, when the operation shows one
    QString question;              // asked before the run (empty: nothing asked)
    Answer answer = Answer::Yes;
};

const OperationCase kCases[] = {
    {"add_empty_operand_adds_0", ui::ControlId::Add, "123", "", "123",
     "New number with 3 digits through addition, placed in memory", "", {}},
    {"subtract_below_zero_counts_the_sign", ui::ControlId::Subtract, "5", "12", "-7",
     "New number with 2 digits through subtraction, placed in memory", "12", {}},
    {"divide_truncates", ui::ControlId::Divide, "17", "5", "3", "New number with 1 digits through division, placed in memory", "5", {}},
    {"divide_by_zero_asks_and_stops_on_yes", ui::ControlId::Divide, "100", "0", "100", {}, {}, "Division by zero?\r\rContinue?"},
    {"divide_by_zero_asks_and_stops_on_no", ui::ControlId::Divide, "100", "0", "100", {}, {}, "Division by zero?\r\rContinue?",
     Answer::No},
    {"mod_by_zero_asks_and_stops", ui::ControlId::Mod, "100", "0", "100", {}, {}, "Modulo by zero?\r\rContinue?"},
    {"mod_of_17_by_5", ui::ControlId::Mod, "17", "5", "2", "New number with 1 digits through mod, placed in memory", "5", {}},
    {"multiply", ui::ControlId::Multiply, "12", "12", "144", "New number with 3 digits through multiplication, placed in memory",
     "12", {}},
    {"reverse_keeps_leading_zeros", ui::ControlId::Reverse, "1200", "2", "0021",
     "New number with 4 digits through reverse function, placed in memory", {}, {}},
    {"times_ten_appends_a_zero", ui::ControlId::TimesTen, "5", "2", "50", "New number with 2 digits through *10, placed in memory",
     {}, {}},
    {"divide_by_ten_drops_the_last_digit", ui::ControlId::DivideByTen, "125", "2", "12",
     "New number with 2 digits through /10, placed in memory", {}, {}},
    {"divide_by_ten_of_one_digit_asks_and_stops", ui::ControlId::DivideByTen, "7", "2", "7", {}, {},
     "Number has only 1 digit!\r\rContinue?"},
    {"power_over_the_digit_limit_asks_and_no_stops", ui::ControlId::Power, "12345", "100000000", "12345", {}, {},
     "Result would exceed 78,000,000 digits! Exponent reduced.\r\rContinue?", Answer::No},
    {"root_with_operand_0_takes_a_square_root", ui::ControlId::Root, "17", "0", "4",
     "New number with 1 digits through root value changed to 2, placed in memory", "0", {}},
    {"root_with_operand_5000_takes_the_1000th_root", ui::ControlId::Root, "17", "5000", "1",
     "New number with 1 digits through root reduced value for 1000, placed in memory", "5000", {}},
    {"exact_root_is_noted", ui::ControlId::Root, "1000000", "3", "100",
     "New number with 3 digits through root (exact!), placed in memory", "3", {}},
    {"rootrem_of_17_notes_the_remainder", ui::ControlId::RootRem, "17", "2", "4",
     "New number with 1 digits through Root Rem ( rem=1 ), placed in memory", {}, {}},
    {"rootrem_of_16_is_exact", ui::ControlId::RootRem, "16", "2", "4",
     "New number with 1 digits through Root Rem (exact root!), placed in memory", {}, {}},
    {"shift_left_multiplies_by_a_power_of_two", ui::ControlId::ShiftLeft, "3", "2", "12",
     "New number with 2 digits through shift left (* 2^n), placed in memory", "2", {}},
    {"shift_right_of_9_by_4_warns_and_gives_0", ui::ControlId::ShiftRight, "9", "4", "0",
     "New number with 1 digits through shift right (/ 2^n), placed in memory", "4",
     "Shift exceeds number size, result will be 0.\r\rContinue?"},
    {"shift_right_of_9_by_3_warns_and_gives_1", ui::ControlId::ShiftRight, "9", "3", "1",
     "New number with 1 digits through shift right (/ 2^n), placed in memory", "3",
     "Shift exceeds number size, result will be 0.\r\rContinue?"},
    {"logx_of_1024_with_2", ui::ControlId::LogX, "1024", "2", "11", "New number with 2 digits through Logx(n), placed in memory", "2",
     {}},
    {"concat_appends_the_operand", ui::ControlId::Concat, "123", "45", "12345",
     "New number with 5 digits through Concat, placed in memory", "45", {}},
    {"plus_ui_adds_a_small_value", ui::ControlId::PlusUI, "999", "1", "1000", "New number with 4 digits through +UI, placed in memory",
     "1", {}},
    {"lcm", ui::ControlId::Lcm, "4", "6", "12", "New number with 2 digits through LCM, placed in memory", "6", {}},
    {"gcd", ui::ControlId::Gcd, "12", "18", "6", "New number with 1 digits through GCD, placed in memory", "18", {}},
    {"next_prime", ui::ControlId::NextP, "100", "2", "101", "New number with 3 digits through next prime, placed in memory", {}, {}},
    {"previous_prime", ui::ControlId::PrevP, "100", "2", "97", "New number with 2 digits through previous prime, placed in memory",
     {}, {}},
};

}  // namespace

class CalculatorOperations : public WindowTest {
protected:
    void press(int button, const std::string& number, const QString& operand)
    {
        setCurrentNumber(number);
        setText(ui::ControlId::Operand, operand);
        click(button);
    }
};

TEST_F(CalculatorOperations, each_operation_gives_its_result_and_history)
{
    for (const OperationCase& c : kCases) {
        SCOPED_TRACE(c.name);
        setCurrentNumber(c.number);
        setText(ui::ControlId::Operand, c.operand);
        const int linesBefore = static_cast<int>(lines().size());
        const size_t dialogsBefore = dialogs.calls.size();
        if (!c.question.isEmpty())
            dialogs.willAnswer(c.answer);
        click(c.button);

        EXPECT_EQ(currentNumber(), c.expected);
        if (!c.question.isEmpty()) {
            ASSERT_EQ(dialogs.calls.size(), dialogsBefore + 1);
            EXPECT_EQ(dialogs.last().title, "Problem!");
            EXPECT_EQ(dialogs.last().text, c.question);
        } else {
            EXPECT_EQ(dialogs.calls.size(), dialogsBefore);
        }
        EXPECT_FALSE(lines().join('\n').contains("PLEASE WAIT")) << "the waiting line is removed";
        EXPECT_TRUE(enabled(c.button)) << "the control lock is released";
        if (c.history.isEmpty()) {
            EXPECT_LE(lines().size(), linesBefore + 1) << "nothing but the cleared notes' separator";
            continue;
        }
        const QStringList all = lines();
        const int first = all.lastIndexOf(c.history);
        ASSERT_GE(first, 0) << "history line missing; last line: " << lastLine(1).toStdString();
        EXPECT_EQ(all[first + 1], "Number > " + QString::fromStdString(c.expected));
        int next = first + 2;
        if (c.value) {
            EXPECT_EQ(all[next++], "Value used " + *c.value);
        }
        if (c.button == ui::ControlId::NextP || c.button == ui::ControlId::PrevP) {
            EXPECT_TRUE(all[next].startsWith("Done in ")) << all[next].toStdString();
            ++next;
        }
        EXPECT_EQ(all[next], kSeparator);
        EXPECT_EQ(next, all.size() - 1);
        EXPECT_EQ(text(ui::ControlId::StatusLine), QString::fromStdString(c.expected));
        EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), QString::number(c.expected.size()));
    }
}

TEST_F(CalculatorOperations, power_reduced_to_the_result_limit_computes_with_the_reduced_exponent)
{
    app->state().limits[engine::LimitDigitsGeneration] = 20;  // 12345^100 would have ~400 digits
    dialogs.willAnswer(Answer::Yes);
    press(ui::ControlId::Power, "12345", "100");
    EXPECT_EQ(dialogs.last().text, "Result would exceed 20 digits! Exponent reduced.\r\rContinue?");
    EXPECT_EQ(currentNumber(), "286718338524635465625");  // 12345^5
    EXPECT_TRUE(hasLine("New number with 21 digits through power reduced to 5 (result limit), placed in memory"));
}

TEST_F(CalculatorOperations, no_current_number_is_refused_before_anything_is_written)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Add);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "You need to have a number stored in the program's memory.");
    EXPECT_TRUE(app->context().results.showsStartupNotes());
}

TEST_F(CalculatorOperations, operand_scan_stops_at_the_first_letter)
{
    dialogs.willAnswer(Answer::Ok);
    press(ui::ControlId::Add, "10", "12a4");
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "Invalid digit 'a' within the value");
    EXPECT_EQ(currentNumber(), "10");
    EXPECT_EQ(app->state().undoCopy, "") << "refused before the undo copy is taken";
}

TEST_F(CalculatorOperations, operand_is_cleaned_of_blanks_and_tabs_and_written_back)
{
    press(ui::ControlId::Add, "10", " 1 2\t3 ");
    EXPECT_EQ(currentNumber(), "133");
    EXPECT_EQ(text(ui::ControlId::Operand), "123");
    EXPECT_TRUE(hasLine("Value used 123"));
}

TEST_F(CalculatorOperations, operand_of_the_full_10000_digits_is_taken_and_shown_by_its_ends)
{
    std::string operand = "1" + std::string(9998, '0') + "7";
    press(ui::ControlId::Add, "2", QString::fromStdString(operand));
    EXPECT_TRUE(currentNumber() == "1" + std::string(9998, '0') + "9");
    EXPECT_EQ(lastLine(1), "Value used 1" + QString(39, '0') + "..." + QString(39, '0') + "7");

    // The edit keeps at most 10,000 characters, so one digit more never reaches the check.
    setText(ui::ControlId::Operand, QString(10001, '1'));
    EXPECT_EQ(text(ui::ControlId::Operand).size(), 10000);
}

TEST_F(CalculatorOperations, memory_as_operand_is_used_and_refused_when_empty)
{
    click(ui::ControlId::MemoryOption);
    dialogs.willAnswer(Answer::Ok);
    press(ui::ControlId::Add, "10", "2");
    EXPECT_EQ(dialogs.last().text, "Calculator memory is empty! Use M first.");
    EXPECT_EQ(currentNumber(), "10");

    app->state().memory.set(5UL);
    click(ui::ControlId::Add);
    EXPECT_EQ(currentNumber(), "15");
    EXPECT_TRUE(hasLine("Value used 5"));
}

TEST_F(CalculatorOperations, gcf_m_with_empty_memory_is_refused)
{
    dialogs.willAnswer(Answer::Ok);
    press(ui::ControlId::GcfM, "12", "2");
    EXPECT_EQ(dialogs.last().text, "Calculator memory is empty! Use M button first.");
    EXPECT_EQ(currentNumber(), "12");

    app->state().memory.set(18UL);
    click(ui::ControlId::GcfM);
    EXPECT_EQ(currentNumber(), "6");
    EXPECT_EQ(lastLine(1), "Value used 18");
}

TEST_F(CalculatorOperations, auto_undo_shows_a_numeric_result_and_keeps_the_number)
{
    click(ui::ControlId::AutoUndo);
    EXPECT_EQ(lastLine(1), "Auto Undo [ON]: calculated numbers will only be presented here.");
    press(ui::ControlId::Add, "10", "5");
    EXPECT_TRUE(
        hasLine("New number with 2 digits through addition, was calculated; disable Auto Undo to keep it in memory"));
    EXPECT_TRUE(hasLine("Number > 15"));
    EXPECT_EQ(currentNumber(), "10");
    EXPECT_EQ(app->state().undoCopy, "");
    EXPECT_EQ(text(ui::ControlId::StatusLine), "10");

    press(ui::ControlId::RootRem, "17", "2");
    EXPECT_TRUE(hasLine("New number with 1 digits through Root Rem ( rem=1 ), was calculated"));
    EXPECT_EQ(currentNumber(), "17");

    click(ui::ControlId::AutoUndo);
    EXPECT_EQ(lastLine(1), "Auto Undo [OFF]: calculated numbers will be stored in memory.");
}

TEST_F(CalculatorOperations, auto_undo_of_a_text_operation_restores_the_value_before_it)
{
    click(ui::ControlId::AutoUndo);
    press(ui::ControlId::Reverse, "0123", "2");
    EXPECT_TRUE(hasLine(
        "New number with 4 digits through reverse function, was calculated; disable Auto Undo to keep it in memory"));
    EXPECT_TRUE(hasLine("Number > 3210"));
    EXPECT_EQ(currentNumber(), "123") << "the decimal text of the value before the operation";
}

TEST_F(CalculatorOperations, undo_twice_brings_back_the_same_number_twice)
{
    click(ui::ControlId::UndoLastCalc);
    EXPECT_TRUE(app->context().results.showsStartupNotes()) << "nothing to undo after start";

    press(ui::ControlId::Add, "10", "5");
    EXPECT_EQ(currentNumber(), "15");
    for (int i = 0; i < 2; ++i) {
        click(ui::ControlId::UndoLastCalc);
        EXPECT_EQ(currentNumber(), "10");
        EXPECT_EQ(lastLine(3), "New number with 2 digits through addition Undo last calculation, placed in memory");
        EXPECT_EQ(lastLine(2), "Number > 10");
        EXPECT_EQ(lastLine(1), "Value used 5");
        EXPECT_EQ(text(ui::ControlId::StatusLine), "10");
    }
}

TEST_F(CalculatorOperations, stop_during_a_long_power_ends_at_once_and_keeps_the_number)
{
    tickStopAfter(300);
    press(ui::ControlId::Power, "7", "60000000");  // ~50,700,000 digits: seconds of work
    EXPECT_EQ(currentNumber(), "7");
    EXPECT_EQ(lastLine(3), "Processing has been stopped - no new number through power; the number with 1 digits is "
                           "unchanged");
    EXPECT_EQ(lastLine(1), "Value used 60000000");
    EXPECT_FALSE(checked(ui::ControlId::Stop));
    EXPECT_TRUE(enabled(ui::ControlId::Power));
}

TEST_F(CalculatorOperations, time_limit_ends_the_run_with_timeout)
{
    QTimer::singleShot(200, [this] { clock.advance(app->state().limits.internalTimeLimitMs() + 1); });
    press(ui::ControlId::Power, "7", "60000000");
    EXPECT_EQ(currentNumber(), "7");
    EXPECT_TRUE(lastLine(3).startsWith("Timeout - no new number through power"));
}

TEST_F(CalculatorOperations, a_worker_that_dies_is_reported_and_changes_nothing)
{
    app->state().memory.set(9UL);
    dialogs.willAnswer(Answer::Ok);
    press(ui::ControlId::Root, "-16", "2");  // GMP refuses an even root of a negative number
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_TRUE(dialogs.last().text.startsWith("The calculation could not be completed"));
    EXPECT_EQ(currentNumber(), "-16");
    EXPECT_EQ(app->state().memory.compare(9UL), 0);
    EXPECT_TRUE(enabled(ui::ControlId::Root));
}
