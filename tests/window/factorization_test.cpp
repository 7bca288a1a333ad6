// "Fact": the factor line, its remarks and the refusals.
#include <QRegularExpression>

#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

class Factorization : public WindowTest {};

TEST_F(Factorization, fact_lists_the_factors_and_keeps_what_the_pass_limit_leaves)
{
    struct Case { std::string number; QString line; };
    for (const Case& c : {
             Case{"12", "2 2 3"},
             Case{"13", "13 It could be a prime number."},
             Case{"1", ""},
             Case{"0", ""},
             Case{"20000000000000000102", "2 10000000000000000051"},
             Case{"100000000012397", "100000000012397 It could be a prime number."},
             Case{"1689303271703", "[1689303271703] (the part in brackets is composite and was not factored)"},
         }) {
        setCurrentNumber(c.number);
        click(ui::ControlId::Fact);
        EXPECT_EQ(lastLine(1), c.line) << c.number;
        const QString header = lastLine(2);
        EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^Factorization of %1 in \d+\.\d{3} s$)").arg(QString::fromStdString(c.number)))
                        .match(header)
                        .hasMatch())
            << header.toStdString();
        EXPECT_EQ(lastLine(), QString(122, '-'));
    }
}

TEST_F(Factorization, fact_refuses_above_the_limit_asks_above_fifty_digits_and_needs_a_number)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Fact);
    EXPECT_EQ(dialogs.last().text, "You need to have a number stored in the program's memory.");

    setCurrentNumber("1" + std::string(50, '0'));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Fact);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "Factorization only for numbers up to 50 digits!");

    app->state().limits[engine::DigitsFactorization] = 60;  // as a loaded parameters file may set it
    const QStringList before = lines();
    dialogs.willAnswer(Answer::No);
    click(ui::ControlId::Fact);
    EXPECT_EQ(dialogs.last().kind, "yesno");
    EXPECT_EQ(dialogs.last().text, "Warning: factorization may take a long time. Continue?");
    EXPECT_EQ(lines(), before);

    dialogs.willAnswer(Answer::Yes);
    click(ui::ControlId::Fact);
    EXPECT_EQ(lastLine(1), "2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 "
                           "5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5");
}
