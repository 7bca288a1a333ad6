// "< Digit Statistics", the digit-view choice and "Analyze" through the real window.
#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

class DigitAnalysis : public WindowTest {
protected:
    // The lines the last command added, from the first line that starts with prefix.
    QStringList linesFrom(const QString& prefix) const
    {
        QStringList all = lines();
        for (int i = all.size() - 1; i >= 0; --i)
            if (all[i].startsWith(prefix))
                return all.mid(i);
        return {};
    }
    static QString row(int digit, long long count, long long delay, long long minimum, long long maximum)
    {
        return QString::asprintf("  %d%18lld%10lld%10lld%10lld", digit, count, delay, minimum, maximum);
    }
};

TEST_F(DigitAnalysis, statistics_of_1123581321_write_the_forward_and_the_reverse_table)
{
    setCurrentNumber("1123581321");
    click(ui::ControlId::DigitStatistics);

    const QStringList out = linesFrom("Number > ");
    ASSERT_EQ(out.size(), 32);
    const QString header = "Digit  How many times     Delay   Minimum   Maximum";
    EXPECT_EQ(out[0], "Number > 1123581321");
    EXPECT_EQ(out[1], "Total digits: 10");
    EXPECT_EQ(out[2], "Segment analyzed from digit 1 to 10 (9)");
    EXPECT_EQ(out[3], header);
    EXPECT_EQ(out[4], row(0, 0, 10, 10, 0));
    EXPECT_EQ(out[5], row(1, 4, 0, 0, 3));
    EXPECT_EQ(out[6], row(2, 2, 1, 4, 4));
    EXPECT_EQ(out[9], row(5, 1, 5, 10, 0));
    EXPECT_EQ(out[14], "Total              10");
    EXPECT_EQ(out[15], "");
    EXPECT_EQ(out[16], "This statistic, once we have a number,is useless; it's only useful for observing and discovering "
                       "anomalous");
    EXPECT_TRUE(out[17].contains(QRegularExpression(
        R"(^patterns that were forced\. It's only used during the program's creation of the number\. Done in \d+\.\d{3} s$)")))
        << out[17].toStdString();
    EXPECT_EQ(out[18], "");
    EXPECT_EQ(out[19], "Segment analyzed from digit 10 to 1 (Reverse direction)");
    EXPECT_EQ(out[20], header);
    EXPECT_EQ(out[22], row(1, 4, 0, 0, 3)) << "backwards 1231853211: ones at 1, 4, 9, 10";
    EXPECT_EQ(out[25], row(4, 0, 10, 10, 0));
    EXPECT_EQ(out[31], QString(122, '-'));
}

TEST_F(DigitAnalysis, end_before_start_counts_nothing)
{
    setCurrentNumber("1123581321");
    setText(ui::ControlId::SegmentStart, "5");
    setText(ui::ControlId::SegmentEnd, "3");
    click(ui::ControlId::DigitStatistics);
    EXPECT_TRUE(hasLine("Segment analyzed from digit 5 to 3 (-2)"));
    EXPECT_TRUE(hasLine("Total               0"));
    EXPECT_TRUE(hasLine(row(9, 0, 3, 0, 0))) << "minimum n = -1 is shown as 0";
}

TEST_F(DigitAnalysis, a_segment_typed_beyond_the_number_is_scanned_and_shown_as_clamped)
{
    setCurrentNumber("1123581321");
    setText(ui::ControlId::SegmentStart, "0");
    setText(ui::ControlId::SegmentEnd, "99999");
    click(ui::ControlId::DigitStatistics);
    EXPECT_TRUE(hasLine("Segment analyzed from digit 1 to 10 (9)"));
    EXPECT_TRUE(hasLine("Total              10"));
}

TEST_F(DigitAnalysis, last_100_of_1000_digits_scans_the_last_hundred)
{
    std::string number;
    for (int i = 0; i < 1000; ++i)
        number += char('0' + (i * 3 + 1) % 10);
    setCurrentNumber(number);
    choose(ui::ControlId::DigitView, 2);
    EXPECT_EQ(text(ui::ControlId::SegmentStart), "901");
    EXPECT_EQ(text(ui::ControlId::SegmentEnd), "1000");
    click(ui::ControlId::DigitStatistics);
    EXPECT_TRUE(hasLine("Segment analyzed from digit 901 to 1000 (99)"));
    EXPECT_TRUE(hasLine("Total             100"));
}

TEST_F(DigitAnalysis, last_500_of_300_digits_falls_back_to_the_title_row_and_the_whole_number)
{
    setCurrentNumber(std::string(300, '4'));
    choose(ui::ControlId::DigitView, 4);
    EXPECT_EQ(app->context().controls.selectedIndex(ui::ControlId::DigitView), 0);
    EXPECT_EQ(text(ui::ControlId::SegmentStart), "1");
    EXPECT_EQ(text(ui::ControlId::SegmentEnd), "300");
}

TEST_F(DigitAnalysis, statistics_without_a_number_do_nothing)
{
    const int before = lines().size();
    click(ui::ControlId::DigitStatistics);
    EXPECT_EQ(lines().size(), before);
}

TEST_F(DigitAnalysis, analyze_asks_two_questions_and_writes_one_line_per_digit)
{
    setCurrentNumber("1021001");
    dialogs.willType("1");
    dialogs.willType("50");
    click(ui::ControlId::Analyze);

    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].title, "Analyze digit positions");
    EXPECT_EQ(dialogs.calls[0].text, "Which digit to analyze? (0-9 or ALL):");
    EXPECT_EQ(dialogs.calls[0].extra, "ALL");
    EXPECT_EQ(dialogs.calls[1].text, "How many positions to show?\r(max 1000, 0 = use statistics result):");
    EXPECT_EQ(dialogs.calls[1].extra, "50");

    const QStringList out = linesFrom("Analyzing positions in ");
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(out[0], "Analyzing positions in 7 digits on first/last 50");
    EXPECT_EQ(out[1], "D1: 3 42.85714% F: 1 4 7  L: 7 4 1 ");
    EXPECT_TRUE(out[2].contains(QRegularExpression(R"(^Done in \d+\.\d{3} s$)")));
    EXPECT_EQ(out[3], QString(122, '-'));
}

TEST_F(DigitAnalysis, analyze_limit_two_lists_two_positions_each_way)
{
    setCurrentNumber("1021001");
    dialogs.willType("0");
    dialogs.willType("2");
    click(ui::ControlId::Analyze);
    EXPECT_TRUE(hasLine("D0: 3 42.85714% F: 2 5  L: 3 2 "));
}

TEST_F(DigitAnalysis, analyze_all_in_any_case_lists_ten_digits_and_abc_means_a_thousand)
{
    setCurrentNumber("1021001");
    dialogs.willType("all");
    dialogs.willType("abc");
    click(ui::ControlId::Analyze);
    const QStringList out = linesFrom("Analyzing positions in ");
    ASSERT_EQ(out.size(), 13);
    EXPECT_EQ(out[0], "Analyzing positions in 7 digits on first/last abc");
    EXPECT_EQ(out[1], "D0: 3 42.85714% F: 2 5 6  L: 6 3 2 ");
    EXPECT_EQ(out[3], "D2: 1 14.28571% F: 3  L: 5 ");
    EXPECT_EQ(out[10], "D9: 0 0.00000% F:  L: ");
}

TEST_F(DigitAnalysis, analyze_refuses_without_a_number_and_stops_on_an_empty_answer)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Analyze);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "You need to have a number stored in the program's memory.");

    setCurrentNumber("1021001");
    const int before = lines().size();
    dialogs.willCancelInput();
    click(ui::ControlId::Analyze);
    dialogs.willType("3");
    dialogs.willType("");
    click(ui::ControlId::Analyze);
    EXPECT_EQ(lines().size(), before);
}

TEST_F(DigitAnalysis, analyze_refuses_a_digit_outside_zero_to_nine_and_writes_nothing)
{
    setCurrentNumber("1021001");
    for (const char* answer : {"99999999999999999999", "10", "-1", "x", "1 2"}) {
        SCOPED_TRACE(answer);
        dialogs.calls.clear();
        const int before = lines().size();
        dialogs.willType(answer);
        dialogs.willAnswer(Answer::Ok);
        click(ui::ControlId::Analyze);
        ASSERT_EQ(dialogs.calls.size(), 2u) << "the second question is not asked";
        EXPECT_EQ(dialogs.last().title, "Problem!");
        EXPECT_EQ(dialogs.last().text, QString("The digit to analyze is one of 0-9 or ALL, not \"") + answer + "\".");
        EXPECT_EQ(lines().size(), before);
    }
}
