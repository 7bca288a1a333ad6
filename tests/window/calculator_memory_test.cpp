// The memory row, the "Your Number" row's M and >>D, and the operand/memory
// display, through the real window.
#include "engine/decimal_text.h"
#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

class CalculatorMemory : public WindowTest {
protected:
    void setMemory(const std::string& digits) { engine::setFromDecimal(app->state().memory, digits); }
    std::string memory() const { return engine::toDecimal(app->state().memory); }
};

TEST_F(CalculatorMemory, empty_memory_is_refused_by_mr_mc_and_swap)
{
    setCurrentNumber("12");
    const struct { int button; const char* title; const char* text; } refusals[] = {
        {ui::ControlId::MemoryRecall, "Problem!", "Calculator memory is empty! Use M first."},
        {ui::ControlId::MemoryClear, "Attention!", "Calculator memory is already empty!"},
        {ui::ControlId::MemorySwap, "Problem!", "Calculator memory is empty! Use M first."},
    };
    for (const auto& r : refusals) {
        dialogs.willAnswer(Answer::Ok);
        click(r.button);
        EXPECT_EQ(dialogs.last().title, r.title);
        EXPECT_EQ(dialogs.last().text, r.text);
    }
    EXPECT_EQ(currentNumber(), "12");
    EXPECT_TRUE(app->context().results.showsStartupNotes());
}

TEST_F(CalculatorMemory, swap_with_no_current_number_is_refused_and_keeps_memory)
{
    setMemory("123");
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::MemorySwap);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "You need to have a number stored in the program's memory.");
    EXPECT_EQ(memory(), "123");
    EXPECT_EQ(currentNumber(), "");
}

TEST_F(CalculatorMemory, store_add_subtract_recall_and_swap)
{
    setCurrentNumber("5");
    click(ui::ControlId::MemoryStore);
    EXPECT_EQ(lastLine(2), "Number > 5");
    EXPECT_EQ(lastLine(1), "With 1 digits stored in calculator memory");

    setCurrentNumber("12");
    click(ui::ControlId::MemorySubtract);
    EXPECT_EQ(lastLine(1), "M-: Memory now has 1 digits (ABS)");
    EXPECT_EQ(memory(), "7");

    setCurrentNumber("95");
    click(ui::ControlId::MemoryAdd);
    EXPECT_EQ(lastLine(1), "M+: Memory now has 3 digits");
    EXPECT_EQ(memory(), "102");

    click(ui::ControlId::MemorySwap);
    EXPECT_EQ(lastLine(1), "M<>D: Memory was swapped by Display.");
    EXPECT_EQ(currentNumber(), "102");
    EXPECT_EQ(memory(), "95");
    EXPECT_EQ(text(ui::ControlId::StatusLine), "102");
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "3");

    click(ui::ControlId::MemoryRecall);
    EXPECT_EQ(lastLine(1), "MR: Number retrieved from calculator memory");
    EXPECT_EQ(currentNumber(), "95");
    EXPECT_EQ(app->state().undoCopy, "102") << "MR can be undone";

    click(ui::ControlId::MemoryClear);
    EXPECT_EQ(lastLine(1), "MC: Calculator memory cleared");
    EXPECT_TRUE(app->state().memory.isZero());
}

TEST_F(CalculatorMemory, clear_makes_the_number_0_so_storing_it_leaves_memory_empty)
{
    setCurrentNumber("4711");
    setMemory("99");
    setText(ui::ControlId::Operand, "77");
    click(ui::ControlId::CalculatorClear);
    EXPECT_EQ(lastLine(1), "C: Calculator cleared");
    EXPECT_EQ(currentNumber(), "0");
    EXPECT_EQ(text(ui::ControlId::StatusLine), "0");
    EXPECT_EQ(text(ui::ControlId::Operand), "2");
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "1");
    EXPECT_TRUE(app->state().memory.isZero());

    click(ui::ControlId::MemoryStore);
    EXPECT_EQ(lastLine(1), "With 1 digits stored in calculator memory");
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::MemoryRecall);
    EXPECT_EQ(dialogs.last().text, "Calculator memory is empty! Use M first.");
}

TEST_F(CalculatorMemory, your_number_row_stores_in_memory_or_displays_the_kept_digits)
{
    setCurrentNumber("8");
    setText(ui::ControlId::YourNumber, " 12 34x5 ");
    click(ui::ControlId::YourNumberToDisplay);
    EXPECT_EQ(currentNumber(), "12345");
    EXPECT_EQ(lastLine(2), "Your 5-digit number has been displayed.");
    EXPECT_EQ(lastLine(1), "Number > 12345");
    EXPECT_EQ(text(ui::ControlId::StatusLine), "12345");

    setText(ui::ControlId::YourNumber, "9 9");
    click(ui::ControlId::YourNumberToMemory);
    EXPECT_EQ(memory(), "99");
    EXPECT_EQ(lastLine(2), "Your 2-digit number has been stored in memory.");
    EXPECT_EQ(lastLine(1), "Number > 12345") << "the current number, not the stored value";
}

TEST_F(CalculatorMemory, memory_option_shows_the_ends_of_a_long_memory_value)
{
    std::string digits = "-" + std::string(50, '1') + std::string(50, '2');
    setMemory(digits);
    click(ui::ControlId::MemoryOption);
    EXPECT_EQ(text(ui::ControlId::OperandLabel), "Memory [M]:");
    EXPECT_TRUE(visible(ui::ControlId::MemoryDisplay));
    for (int hidden : {ui::ControlId::Operand, ui::ControlId::OperandPaste, ui::ControlId::OperandClear, ui::ControlId::OperandCopy, ui::ControlId::OperandOne, ui::ControlId::OperandTwo})
        EXPECT_FALSE(visible(hidden)) << hidden;
    EXPECT_EQ(text(ui::ControlId::MemoryDisplay), "-" + QString(39, '1') + "..." + QString(40, '2'));

    setCurrentNumber("3");
    click(ui::ControlId::MemoryAdd);
    EXPECT_EQ(lastLine(1), "M+: Memory now has 101 digits");
    EXPECT_EQ(text(ui::ControlId::MemoryDisplay), "-" + QString(39, '1') + "..." + QString(38, '2') + "19");

    click(ui::ControlId::OperandOption);
    EXPECT_EQ(text(ui::ControlId::OperandLabel), "Operand:");
    EXPECT_FALSE(visible(ui::ControlId::MemoryDisplay));
    EXPECT_TRUE(visible(ui::ControlId::Operand));
    EXPECT_TRUE(visible(ui::ControlId::OperandPaste));
}
