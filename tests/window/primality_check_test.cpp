// "< Check", "Is P?", Verify and Load through the real window: the choice of
// method by digit count, the lines in their order, the verdict words.
#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTimer>

#include "engine/decimal_text.h"
#include "ui/control_ids.h"
#include "support/fake_tester.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

const QString kSeparator(122, '-');
const QRegularExpression kDoneLine(QStringLiteral(R"(^Done in \d+\.\d{3} s at 14:0\d h - 12/06/2026$)"));
const char* kMersenne127 = "170141183460469231731687303715884105727";

// 1, zeros, then the given tail, in all `digits` digits.
std::string oneZerosThen(size_t digits, const std::string& tail)
{
    std::string number(digits, '0');
    number[0] = '1';
    number.replace(digits - tail.size(), tail.size(), tail);
    return number;
}

// Divisible by 3 and by nothing smaller.
std::string multipleOfThree(size_t digits) { return oneZerosThen(digits, "11"); }

}  // namespace

class PrimalityCheck : public WindowTest {
protected:
    QStringList linesFrom(const QString& first) const
    {
        QStringList all = lines();
        int at = all.lastIndexOf(first);
        return at < 0 ? QStringList{} : all.mid(at);
    }
    void answerFileQuestion(const std::string& path)
    {
        dialogs.willAnswer(Answer::Yes);
        dialogs.willChooseFile(QString::fromStdString(path));
    }
};

TEST_F(PrimalityCheck, check_keeps_only_the_typed_digits_and_writes_its_lines_in_order)
{
    setText(ui::ControlId::YourNumber, "1 2\r\n3 4 5");
    click(ui::ControlId::Check);
    EXPECT_EQ(currentNumber(), "12345");
    QStringList out = linesFrom("Analyzing a number with 5 digits:");
    ASSERT_EQ(out.size(), 5) << out.join('\n').toStdString();
    EXPECT_EQ(out[1], "Number > 12345");
    EXPECT_EQ(out[2], "Final verification: NOT PRIME");
    EXPECT_TRUE(kDoneLine.match(out[3]).hasMatch()) << out[3].toStdString();
    EXPECT_EQ(out[4], kSeparator);
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "5");
    EXPECT_EQ(text(ui::ControlId::StatusLine), "12345");
    EXPECT_TRUE(enabled(ui::ControlId::Check)) << "the control lock is released";
    EXPECT_FALSE(enabled(ui::ControlId::Stop));
}

TEST_F(PrimalityCheck, check_of_text_without_digits_empties_the_number_silently)
{
    setCurrentNumber("13");
    setText(ui::ControlId::YourNumber, "abc");
    click(ui::ControlId::Check);
    EXPECT_EQ(currentNumber(), "");
    const QStringList before = lines();
    setCurrentNumber("0");
    click(ui::ControlId::IsPrime);
    EXPECT_EQ(lines(), before) << "no line for an empty number or 0";
}

TEST_F(PrimalityCheck, probable_prime_test_gives_the_gmp_verdict_words)
{
    struct Case { std::string number; const char* verdict; };
    for (const Case& c : {Case{"13", "IS PRIME"}, Case{kMersenne127, "IT COULD BE A PRIME"}, Case{"0013", "IS PRIME"},
                          Case{"91", "NOT PRIME"}}) {
        setCurrentNumber(c.number);
        click(ui::ControlId::IsPrime);
        EXPECT_EQ(lastLine(2), QStringLiteral("Final verification: ") + c.verdict) << c.number;
        EXPECT_TRUE(hasLine(QStringLiteral("Analyzing a number with %1 digits:").arg(c.number.size())));
    }
    EXPECT_FALSE(lines().join('\n').contains("PLEASE WAIT")) << "the waiting line is removed";
}

TEST_F(PrimalityCheck, check_of_7000_digits_runs_the_probable_prime_test_and_7001_the_first_check)
{
    setCurrentNumber(multipleOfThree(7000));
    click(ui::ControlId::IsPrime);
    EXPECT_EQ(lastLine(2), "Final verification: NOT PRIME");
    EXPECT_EQ(text(ui::ControlId::Div1), "0");

    setCurrentNumber(multipleOfThree(7001));
    click(ui::ControlId::IsPrime);
    QStringList out = linesFrom("Analyzing a number with 7001 digits:");
    ASSERT_EQ(out.size(), 5) << out.join('\n').toStdString();
    EXPECT_TRUE(out[1].startsWith("Number > 1000"));
    EXPECT_EQ(out[2], "Final verification: DEFINITELY NOT A PRIME NUMBER");
    EXPECT_EQ(text(ui::ControlId::Div1), "1");
    EXPECT_EQ(text(ui::ControlId::Div2), "0");
}

// A test the clock ended said nothing about the number: no verdict, and why.
TEST_F(PrimalityCheck, probable_prime_test_stopped_by_the_time_limit_reads_not_done)
{
    const std::string composite = oneZerosThen(5000, "19");  // no factor below 100,000
    app->state().limits[engine::InternalLimitMinutes] = 0;
    clock.advanceOnEveryRead(1000);
    setCurrentNumber(composite);
    click(ui::ControlId::IsPrime);
    QStringList out = linesFrom("Analyzing a number with 5000 digits:");
    ASSERT_EQ(out.size(), 6) << out.join('\n').toStdString();
    EXPECT_EQ(out[1], "The probable-prime test ended without a result: the internal time limit was reached.");
    EXPECT_TRUE(out[2].startsWith("Number > 1000"));
    EXPECT_EQ(out[3], "Final verification: NOT DONE");
    EXPECT_EQ(currentNumber(), composite);
}

TEST_F(PrimalityCheck, number_above_the_threshold_without_small_factor_goes_to_the_tester)
{
    app->state().limits[engine::LargeNumbersStart] = 20;
    std::ofstream(workFile("pfgw.ini")) << "x";
    std::ofstream(workFile("pfgw.out")) << "x";
    installFakeTester(workFile("pfgw64_133mm.exe"), "echo 'progress line'\necho \"$(cat last_PRP.txt) is 3-PRP! (0.0s+0.0s)\"");
    setCurrentNumber(kMersenne127);
    click(ui::ControlId::IsPrime);

    QStringList out = linesFrom("Analyzing a number with 39 digits:");
    ASSERT_EQ(out.size(), 6) << out.join('\n').toStdString();
    EXPECT_EQ(out[1], "First check: Approved");
    EXPECT_EQ(out[3], "Final verification: IT COULD BE A PRIME");
    EXPECT_EQ(readWholeFile(workFile("tester_args.txt")), "-k -T4 -f0 " + workFile("last_PRP.txt") + "\n");
    EXPECT_EQ(readWholeFile(workFile("last_PRP.txt")), kMersenne127);
    EXPECT_FALSE(std::filesystem::exists(workFile("pfgw.ini")));
    EXPECT_FALSE(std::filesystem::exists(workFile("pfgw.out")));
    EXPECT_EQ(text(ui::ControlId::Qty), "1");
}

TEST_F(PrimalityCheck, tester_verdict_comes_from_its_last_result_line)
{
    app->state().limits[engine::LargeNumbersStart] = 20;
    setCurrentNumber(kMersenne127);
    struct Case { const char* script; const char* verdict; };
    for (const Case& c : {
             Case{"echo 'N is 3-PRP! (1s)'\necho 'N is composite: RES64: [00]'", "IS COMPOSITE"},
             Case{"echo 'N is composite'\necho 'N is 2-PRP!'", "IT COULD BE A PRIME"},
             Case{"printf 'N has no small factor.\\r\\n\\r\\n   \\n'", "POSSIBLE PRIME"},
             Case{"echo 'N has factors: 3'", "IS COMPOSITE"},
             Case{"echo 'N trial factoring to 1000000'", "NOT DONE"},
             Case{"echo 'garbage'; kill -SEGV $$", "NOT DONE"},
             Case{"printf 'N is PRP! (no line end follows)'", "IT COULD BE A PRIME"},
         }) {
        installFakeTester(workFile("pfgw64_133mm.exe"), c.script);
        click(ui::ControlId::IsPrime);
        EXPECT_EQ(lastLine(2), QStringLiteral("Final verification: ") + c.verdict) << c.script;
    }
}

// The prime 18523#+1 (8,002 digits) passes the first check; with no tester
// there is no verdict on it, and certainly not "NOT PRIME".
TEST_F(PrimalityCheck, missing_tester_is_reported_and_the_check_reads_not_done)
{
    engine::BigInt primorialPlusOne;
    mpz_primorial_ui(primorialPlusOne.get(), 18523);
    mpz_add_ui(primorialPlusOne.get(), primorialPlusOne.get(), 1);
    const std::string prime = engine::toDecimal(primorialPlusOne);
    ASSERT_EQ(prime.size(), 8002u);
    setText(ui::ControlId::YourNumber, QString::fromStdString(prime));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::Check);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "pfgw64_133mm.exe not found in:\n" + QString::fromStdString(workDir().string()) + "/");
    QStringList out = linesFrom("Analyzing a number with 8002 digits:");
    ASSERT_EQ(out.size(), 7) << out.join('\n').toStdString();
    EXPECT_EQ(out[1], "First check: Approved");
    EXPECT_EQ(out[2], "The probable-prime test was not run: pfgw64_133mm.exe was not found.");
    EXPECT_TRUE(out[3].startsWith("Number > "));
    EXPECT_EQ(out[4], "Final verification: NOT DONE");
    EXPECT_EQ(currentNumber(), prime);
}

TEST_F(PrimalityCheck, stop_during_the_tester_check_kills_it_and_reads_stopped)
{
    app->state().limits[engine::LargeNumbersStart] = 20;
    installFakeTester(workFile("pfgw64_133mm.exe"), "exec sleep 30");
    setCurrentNumber(kMersenne127);
    tickStopAfter(300);
    click(ui::ControlId::IsPrime);
    EXPECT_EQ(lastLine(2), "Final verification: PROCESSING HAS BEEN STOPPED");
    const pid_t pid = std::stoi(readWholeFile(workFile("tester_pid.txt")));
    EXPECT_NE(::kill(pid, 0), 0) << "the tester process is gone";
    EXPECT_FALSE(enabled(ui::ControlId::Stop));
}

TEST_F(PrimalityCheck, hidden_tester_check_shows_its_percent_and_time_left_while_it_runs)
{
    app->state().limits[engine::LargeNumbersStart] = 20;
    installFakeTester(workFile("pfgw64_133mm.exe"),
                      "echo 'PRP test to base 3: 41.7% done, 1234 steps/s, 1m12s left' >&2\n"
                      "sleep 1\n"
                      "echo \"$(cat last_PRP.txt) is 3-PRP! (1.0s+0.0s)\"");
    setCurrentNumber(kMersenne127);
    QStringList shown;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const QString progress = text(ui::ControlId::TesterProgress);
        if (!progress.isEmpty() && !shown.contains(progress))
            shown << progress;
    });
    sampler.start(20);
    click(ui::ControlId::IsPrime);
    sampler.stop();
    EXPECT_EQ(shown, QStringList{"PRP 41.7%, 1m12s left"});
    EXPECT_EQ(text(ui::ControlId::TesterProgress), "") << "the progress goes with the run";
    EXPECT_EQ(lastLine(2), "Final verification: IT COULD BE A PRIME");
}

TEST_F(PrimalityCheck, load_number_writes_number_and_timing_but_no_verdict)
{
    const std::string path = workFile("number.txt");
    std::ofstream(path, std::ios::binary) << "12 34\r\n56";
    answerFileQuestion(path);
    click(ui::ControlId::LoadNumber);

    EXPECT_EQ(dialogs.calls[0].title, "Attention!");
    EXPECT_EQ(dialogs.calls[0].text,
              "The number must be in a TXT file without spaces, CR, LF, or special characters, only consecutive digits "
              "from 0 to 9 within the file.\r\rNote: The program will not perform any of the above checks; if the file "
              "is not in the required format, uncontrollable issues may arise.\r\rDo you want to choose a file for "
              "processing now?");
    EXPECT_EQ(dialogs.calls[1].title, "Locate the file with the number");
    EXPECT_EQ(dialogs.calls[1].extra, "File TXT (*.txt)|*.txt");
    EXPECT_EQ(currentNumber(), "123456");
    QStringList out = linesFrom(QStringLiteral("Number from ") + QString::fromStdString(path));
    ASSERT_EQ(out.size(), 5) << lines().join('\n').toStdString();
    EXPECT_EQ(out[1], "Total digits: 6");
    EXPECT_EQ(out[2], "Number > 123456");
    EXPECT_TRUE(kDoneLine.match(out[3]).hasMatch()) << out[3].toStdString();
    EXPECT_EQ(out[4], kSeparator);
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "6");
}

TEST_F(PrimalityCheck, verify_from_file_reads_utf16_and_keeps_leading_zeros)
{
    const std::string path = workFile("utf16.txt");
    std::ofstream(path, std::ios::binary) << std::string("\xFF\xFE" "0\0" "0\0" "1\0" "3\0" "\r\0\n\0", 14);
    answerFileQuestion(path);
    click(ui::ControlId::VerifyFromFile);
    EXPECT_EQ(currentNumber(), "0013");
    QStringList out = linesFrom(QStringLiteral("Analyzing the number from ") + QString::fromStdString(path));
    ASSERT_EQ(out.size(), 6) << lines().join('\n').toStdString();
    EXPECT_EQ(out[1], "Total digits: 4");
    EXPECT_EQ(out[2], "Number > 0013");
    EXPECT_EQ(out[3], "Final verification: IS PRIME");
}

TEST_F(PrimalityCheck, verify_from_file_changes_nothing_when_refused_cancelled_or_missing)
{
    setCurrentNumber("77");
    const int before = lines().size();
    dialogs.willAnswer(Answer::No);
    click(ui::ControlId::VerifyFromFile);
    dialogs.willAnswer(Answer::Yes);
    dialogs.willChooseFile("");
    click(ui::ControlId::LoadNumber);
    EXPECT_EQ(lines().size(), before);

    const std::string missing = workFile("missing.txt");
    answerFileQuestion(missing);
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::VerifyFromFile);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, QStringLiteral("File not found: ") + QString::fromStdString(missing));
    EXPECT_EQ(currentNumber(), "77");
    EXPECT_TRUE(enabled(ui::ControlId::VerifyFromFile));

    const std::string noDigits = workFile("letters.txt");
    std::ofstream(noDigits) << "no digits";
    answerFileQuestion(noDigits);
    click(ui::ControlId::VerifyFromFile);
    EXPECT_EQ(currentNumber(), "");
    EXPECT_FALSE(hasLine(QStringLiteral("Analyzing the number from ") + QString::fromStdString(noDigits)));
}

TEST_F(PrimalityCheck, verify_clipboard_checks_the_digits_on_the_clipboard)
{
    QGuiApplication::clipboard()->setText("1 3\r\n");
    dialogs.willAnswer(Answer::Yes);
    click(ui::ControlId::VerifyClipboard);
    EXPECT_TRUE(dialogs.last().text.endsWith("\r\rDo you have it in your clipboard right now?"));
    EXPECT_TRUE(dialogs.last().text.startsWith("The number must be in CLIPBOARD without spaces"));
    EXPECT_EQ(currentNumber(), "13");
    EXPECT_TRUE(hasLine("Analyzing a number with 2 digits:"));
    EXPECT_EQ(lastLine(2), "Final verification: IS PRIME");

    dialogs.willAnswer(Answer::No);
    QGuiApplication::clipboard()->setText("91");
    click(ui::ControlId::VerifyClipboard);
    EXPECT_EQ(currentNumber(), "13");
}
