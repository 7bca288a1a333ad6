// "User Manual", "Help" and "? About" through the real window.
#include <fstream>

#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

class HelpAndAbout : public WindowTest {
protected:
    void writeFile(const std::string& name, const std::string& bytes)
    {
        std::ofstream(workFile(name), std::ios::binary) << bytes;
    }
};

TEST_F(HelpAndAbout, manual_with_cr_lf_lines_shows_one_list_line_per_file_line_after_clearing_the_notes)
{
    writeFile("user_manual.txt", "First line\r\nSecond line\r\nLast line");
    click(ui::ControlId::UserManual);
    const QStringList expected = {QString(122, '-'), "First line\r", "Second line\r", "Last line", QString(122, '-')};
    EXPECT_EQ(lines(), expected);
    EXPECT_TRUE(app->context().results.selectedLine().isEmpty()) << "the selection is cleared";
}

TEST_F(HelpAndAbout, a_file_without_line_feeds_is_one_line)
{
    writeFile("help_calculator.txt", "Add\rSubtract\rMultiply");
    click(ui::ControlId::CalculatorHelp);
    click(ui::ControlId::CalculatorHelp);
    EXPECT_EQ(lastLine(1), "Add\rSubtract\rMultiply");
    EXPECT_EQ(lastLine(3), "Add\rSubtract\rMultiply");
    EXPECT_EQ(lines().size(), 1 + 2 + 2) << "notes replaced by one separator, then twice a line and a separator";
}

TEST_F(HelpAndAbout, a_file_of_more_than_500_lines_is_shown_whole)
{
    std::string text;
    for (int i = 1; i <= 800; ++i)
        text.append("Manual line ").append(std::to_string(i)).append("\n");
    writeFile("user_manual.txt", text);
    click(ui::ControlId::UserManual);
    EXPECT_TRUE(hasLine("Manual line 800"));
    EXPECT_EQ(lines().size(), 1 + 801 + 1);
}

TEST_F(HelpAndAbout, a_missing_file_adds_only_the_separator)
{
    const QStringList before = lines();
    click(ui::ControlId::UserManual);
    EXPECT_EQ(lines(), before + QStringList{QString(122, '-')});
}

TEST_F(HelpAndAbout, about_shows_the_version_title_and_the_free_memory)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::About);
    EXPECT_EQ(dialogs.last().kind, "message");
    EXPECT_EQ(dialogs.last().title, "Quendrolt - version 0.96 beta");
    EXPECT_TRUE(dialogs.last().text.contains(QRegularExpression(R"(\r\rFree memory [\d,]+\.\d\d GB$)")))
        << dialogs.last().text.toStdString();
    EXPECT_TRUE(dialogs.last().text.contains("\r\rGood luck To all.\r"));
}
