// The command-line program and the window give the same answers for the same
// numbers: NextP and PrevP, "Is P?", Fact and the digit statistics.
#include "cli/cli_runner.h"
#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;

namespace {

std::vector<std::string> cliLines(const std::vector<std::string>& arguments)
{
    cli_test::CliRun run = cli_test::runCli(arguments);
    EXPECT_LT(run.status, 2) << run.err;
    return cli_test::lines(run.out);
}

QStringList qLines(const std::vector<std::string>& lines)
{
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

}  // namespace

class CommandLineAgreement : public WindowTest {
protected:
    // The window's lines from the last one that starts with prefix.
    QStringList linesFrom(const QString& prefix) const
    {
        const QStringList all = lines();
        for (qsizetype i = all.size() - 1; i >= 0; --i)
            if (all[i].startsWith(prefix))
                return all.mid(i);
        return {};
    }
};

TEST_F(CommandLineAgreement, next_and_previous_prime_are_the_calculators)
{
    // Below and above 64 bits, where the searches change from GMP's to the sieve.
    for (const std::string& start : {std::string("1000"), std::string("18446744073709551629"), "9" + std::string(150, '1')}) {
        for (auto [button, command] : {std::pair{ui::ControlId::NextP, "next-prime"}, std::pair{ui::ControlId::PrevP, "prev-prime"}}) {
            setCurrentNumber(start);
            click(button);
            const std::vector<std::string> cli = cliLines({command, start, "-q"});
            ASSERT_EQ(cli.size(), 1u) << command << " " << start;
            EXPECT_EQ(currentNumber(), cli[0]) << command << " " << start;
        }
    }
}

TEST_F(CommandLineAgreement, is_p_verdicts_are_the_test_commands_words)
{
    const std::string beyondLimit = "1" + std::string(7000, '0') + "2";  // 7,002 digits, even: the first check rejects it
    for (const std::string& number :
         {std::string("13"), std::string("91"), std::string("170141183460469231731687303715884105727"), beyondLimit}) {
        setCurrentNumber(number);
        click(ui::ControlId::IsPrime);
        const std::vector<std::string> cli = cliLines({"test", number, "-q"});
        ASSERT_EQ(cli.size(), 1u);
        const QString word = QString::fromStdString(cli[0].substr(number.size() + 2));
        EXPECT_EQ(lastLine(2), "Final verification: " + word.toUpper()) << number.substr(0, 40);
    }
}

TEST_F(CommandLineAgreement, fact_lists_the_factors_the_factor_command_prints)
{
    for (const std::string& number : {std::string("12"), std::string("7207200"), std::string("20000000000000000102")}) {
        setCurrentNumber(number);
        click(ui::ControlId::Fact);
        std::string joined;
        for (const std::string& line : cliLines({"factor", number, "-q"})) {
            if (!joined.empty())
                joined += ' ';
            joined.append(line, 0, line.find(' '));
        }
        EXPECT_EQ(lastLine(1).toStdString(), joined) << number;
    }
}

TEST_F(CommandLineAgreement, digit_statistics_tables_are_the_stats_commands_lines)
{
    const std::string number = "271828182845904523536028747135266249775724709369995";
    setCurrentNumber(number);
    click(ui::ControlId::DigitStatistics);
    const QStringList window = linesFrom("Number > ");
    const QStringList cli = qLines(cliLines({"stats", number}));
    ASSERT_GE(window.size(), 15);
    ASSERT_GE(cli.size(), 15);
    // Total digits, the header, ten rows and the total. The segment line
    // gives the digits the segment holds, where the window's shows E - S.
    EXPECT_EQ(window.mid(1, 1), cli.mid(1, 1));
    EXPECT_EQ(window[2], "Segment analyzed from digit 1 to 51 (50)");
    EXPECT_EQ(cli[2], "Segment analyzed from digit 1 to 51 (51 digits)");
    EXPECT_EQ(window.mid(3, 12), cli.mid(3, 12));
    const QString reverse = "Segment analyzed from digit 51 to 1 (Reverse direction)";
    const qsizetype windowReverse = window.indexOf(reverse);
    const qsizetype cliReverse = cli.indexOf(reverse);
    ASSERT_GE(windowReverse, 0);
    ASSERT_GE(cliReverse, 0);
    EXPECT_EQ(window.mid(windowReverse, 12), cli.mid(cliReverse, 12));
}

// A segment of a number reads in the command's table as the window reads the
// same digits taken as the number: counts, delays and gaps agree, and where
// the command shows no gap ("-": a digit seen once or never) the window
// shows the values its scan starts from, n for the minimum and 0 for the
// maximum.
TEST_F(CommandLineAgreement, a_segments_statistics_are_the_windows_of_its_digits)
{
    const std::string number = "271828182845904523536028747135266249775724709369995";
    for (auto [from, to] : {std::pair{5, 30}, std::pair{40, 51}, std::pair{2, 4}}) {
        const std::string digits = number.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
        const QString length = QString::number(digits.size());
        setCurrentNumber(digits);
        click(ui::ControlId::DigitStatistics);
        const QStringList window = linesFrom("Number > ");
        const QStringList cli =
            qLines(cliLines({"stats", number, "--from", std::to_string(from), "--to", std::to_string(to)}));
        ASSERT_EQ(window.size(), 32);
        ASSERT_EQ(cli.size(), 28);
        EXPECT_EQ(cli[2], QStringLiteral("Segment analyzed from digit %1 to %2 (%3 digits)").arg(from).arg(to).arg(length));
        for (int table : {4, 18}) {  // the first row of each table, forward and reverse
            const int windowTable = table == 4 ? 4 : 21;
            for (int d = 0; d < 10; ++d) {
                const QStringList mine = cli[table + d].split(' ', Qt::SkipEmptyParts);
                const QStringList theirs = window[windowTable + d].split(' ', Qt::SkipEmptyParts);
                ASSERT_EQ(mine.size(), 5);
                ASSERT_EQ(theirs.size(), 5);
                const QString where = QStringLiteral("%1..%2, table %3, digit %4").arg(from).arg(to).arg(table).arg(d);
                EXPECT_EQ(mine.mid(0, 3), theirs.mid(0, 3)) << where.toStdString();
                EXPECT_EQ(mine[3] == "-" ? length : mine[3], theirs[3]) << where.toStdString();
                EXPECT_EQ(mine[4] == "-" ? "0" : mine[4], theirs[4]) << where.toStdString();
            }
        }
    }
}
