// A tester that misbehaves: one that floods its output or prints binary, and
// one that hangs with a child of its own still holding its output open. The
// window's memory stays bounded, the verdict comes from what was read, and
// STOP ends every command that waits for the tester.
#include <signal.h>
#include <sys/resource.h>

#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ui/control_ids.h"
#include "support/fake_tester.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

const char* kMersenne127 = "170141183460469231731687303715884105727";

long peakResidentKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

class TesterFaults : public WindowTest {
protected:
    void checkAboveTheLargeNumberLimit()
    {
        app->state().limits[engine::LargeNumbersStart] = 20;
        setCurrentNumber(kMersenne127);
        click(ui::ControlId::IsPrime);
    }

    // Ticks STOP once the tester has started its child.
    void stopOnceTheTesterHangs()
    {
        auto* timer = new QTimer(&app->window());
        QObject::connect(timer, &QTimer::timeout, [this, timer] {
            if (std::filesystem::exists(workFile("child_pid.txt"))) {
                timer->deleteLater();
                timer->stop();
                tick(ui::ControlId::Stop, true);
            }
        });
        timer->start(5);
    }
};

// 256 MB of output, binary or in lines: with all of it kept the window would
// grow by that much. (Run alone, as CTest runs it, the peak is this test's
// own.) The result lines that follow a flood are still found.
TEST_F(TesterFaults, a_flood_of_output_keeps_memory_bounded_and_the_verdict_comes_from_the_lines_read)
{
    struct Case {
        const char* flood;
        const char* verdict;
    };
    for (const Case& c : {
             Case{"head -c 268435456 /dev/zero", "NOT DONE"},
             Case{"yes 'N trial factoring to 1000000' | head -c 268435456", "NOT DONE"},
             Case{"head -c 33554432 /dev/zero; echo; echo 'N is 3-PRP! (0.0s+0.0s)'", "IT COULD BE A PRIME"},
             Case{"head -c 33554432 /dev/zero; echo 'N is composite: RES64: [00]'", "IS COMPOSITE"},
         }) {
        SCOPED_TRACE(c.flood);
        installFakeTester(workFile("pfgw64_133mm.exe"), c.flood);
        const long before = peakResidentKb();
        checkAboveTheLargeNumberLimit();
        EXPECT_LT(peakResidentKb() - before, 200L * 1024) << "KB more at the peak";
        EXPECT_EQ(lastLine(2), QStringLiteral("Final verification: ") + c.verdict);
    }
}

// The tester's shell is killed; its own child lives on with the output pipe
// open, so nothing may wait for that pipe to close.
TEST_F(TesterFaults, stop_ends_a_hung_tester_whose_child_holds_its_output_open)
{
    installFakeTester(workFile("pfgw64_133mm.exe"), "trap '' TERM INT HUP\nsleep 30 &\necho $! > child_pid.txt\nwait");
    struct Case {
        const char* command;
        std::function<void()> run;
        QString stoppedLine;
    };
    const Case cases[] = {
        {"Is P?", [this] { checkAboveTheLargeNumberLimit(); }, "Final verification: PROCESSING HAS BEEN STOPPED"},
        {"Run> PRP/Pfgw",
         [this] {
             setCurrentNumber("12345");
             click(ui::ControlId::RunPrp);
         },
         "PFGW stopped by user at 14:05 h - 12/06/2026"},
        {"generation",
         [this] {
             setText(ui::ControlId::TotalDigits, "7001");
             click(ui::ControlId::StartGeneration);
         },
         "Generation was stopped by the user... the generated number may not be a prime number! (0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        std::filesystem::remove(workFile("child_pid.txt"));
        stopOnceTheTesterHangs();
        c.run();
        EXPECT_TRUE(hasLine(c.stoppedLine)) << lines().join("\n").toStdString();
        const pid_t shell = std::stoi(readWholeFile(workFile("tester_pid.txt")));
        EXPECT_NE(::kill(shell, 0), 0) << "the tester is gone";
        EXPECT_FALSE(enabled(ui::ControlId::Stop));
        ::kill(std::stoi(readWholeFile(workFile("child_pid.txt"))), SIGKILL);
    }
}
