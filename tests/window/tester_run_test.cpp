// " Run> PRP/Pfgw": the interactive tester run with its console window, and
// the real tester end to end.
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>

#include "primality/console_window.h"
#include "ui/control_ids.h"
#include "support/fake_tester.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

const QString kSeparator(122, '-');

}  // namespace

class TesterRun : public WindowTest {
protected:
    primality::ConsoleWindow* console() const
    {
        return app->window().findChild<primality::ConsoleWindow*>(QStringLiteral("testerConsole"));
    }
};

TEST_F(TesterRun, run_passes_the_test_mode_switches_and_reports_the_summarised_result)
{
    installFakeTester(workFile("pfgw64_133mm.exe"),
                      "echo 'progress' >&2\necho '12345 is 3-PRP! (0.0123s+0.0004s)'\necho 'trailing text'");
    setCurrentNumber("12345");
    app->context().controls.setSelectedIndex(ui::ControlId::TestMode, 6);
    click(ui::ControlId::RunPrp);

    EXPECT_EQ(readWholeFile(workFile("tester_args.txt")), "-k -T4 -f0 -b5 " + workFile("last_PRP.txt") + "\n");
    EXPECT_EQ(readWholeFile(workFile("last_PRP.txt")), "12345");
    ASSERT_GE(lines().size(), 4);
    EXPECT_EQ(lastLine(3), "PFGW started at 14:05 h - [PRP base 5 only] - monitor progress in the console window. "
                           "Press STOP to cancel.");
    EXPECT_EQ(lastLine(2), "Number > 12345");
    EXPECT_TRUE(QRegularExpression(R"(^PFGW Result: is 3-PRP! \(0\.0123s\+0\.0004s\) - Done in \d+\.\d\d s at 14:05 h - 12/06/2026$)")
                    .match(lastLine(1))
                    .hasMatch())
        << lastLine(1).toStdString();
    EXPECT_EQ(lastLine(), kSeparator);
    EXPECT_EQ(text(ui::ControlId::Qty), "1");
    ASSERT_NE(console(), nullptr);
    EXPECT_TRUE(console()->findChild<QPlainTextEdit*>()->toPlainText().contains("progress"));
    EXPECT_TRUE(enabled(ui::ControlId::RunPrp));
}

TEST_F(TesterRun, closing_the_console_ends_the_tester_and_is_reported)
{
    installFakeTester(workFile("pfgw64_133mm.exe"), "exec sleep 30");
    setCurrentNumber("12345");
    QTimer::singleShot(300, [this] {
        if (primality::ConsoleWindow* window = console())
            window->close();
    });
    click(ui::ControlId::RunPrp);
    EXPECT_TRUE(lastLine(1).startsWith("PFGW Result: console window was closed by user - Done in 0.")) << lastLine(1).toStdString();
    const pid_t pid = std::stoi(readWholeFile(workFile("tester_pid.txt")));
    EXPECT_NE(::kill(pid, 0), 0);
}

TEST_F(TesterRun, stop_ends_the_run_without_a_result_line)
{
    installFakeTester(workFile("pfgw64_133mm.exe"), "exec sleep 30");
    setCurrentNumber("12345");
    tickStopAfter(300);
    click(ui::ControlId::RunPrp);
    EXPECT_EQ(lastLine(1), "PFGW stopped by user at 14:05 h - 12/06/2026");
    EXPECT_FALSE(lastLine(2).startsWith("Number > "));
    EXPECT_FALSE(enabled(ui::ControlId::Stop));
}

TEST_F(TesterRun, run_refuses_without_a_number_or_a_startable_tester)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::RunPrp);
    EXPECT_EQ(dialogs.last().text, "You need to have a number stored in the program's memory.");

    setCurrentNumber("12345");
    std::ofstream(workFile("pfgw64_133mm.exe")) << "not executable";
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::RunPrp);
    EXPECT_EQ(dialogs.last().text, "Failed to launch PFGW!");
    EXPECT_TRUE(enabled(ui::ControlId::RunPrp));
    EXPECT_FALSE(lines().join('\n').contains("PFGW started"));
}
