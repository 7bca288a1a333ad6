// A number of 50,000,000 digits brought in from the clipboard and from a
// number file: the window keeps processing its events while it is read,
// converted and checked, and the command ends with the number in place.
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <fstream>

#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

constexpr size_t kDigits = 50'000'000;

// Only its size matters here, not what the check finds.
std::string hugeNumber()
{
    std::string digits(kDigits, '7');
    digits.back() = '1';
    return digits;
}

}  // namespace

class HugeNumberInput : public WindowTest {
protected:
    // Counts timer ticks while a command runs: ticks only come while the
    // window processes its events.
    int ticksDuring(int control)
    {
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(50);
        click(control);
        return ticks;
    }
};

TEST_F(HugeNumberInput, verify_from_the_clipboard_keeps_the_window_responding_and_takes_the_number)
{
    QGuiApplication::clipboard()->setText(QString::fromLatin1(hugeNumber()));
    dialogs.willAnswer(Answer::Yes);
    const int ticks = ticksDuring(ui::ControlId::VerifyClipboard);
    QGuiApplication::clipboard()->clear();

    EXPECT_EQ(currentNumber().size(), kDigits);
    EXPECT_TRUE(hasLine("Analyzing a number with 50000000 digits:")) << lines().join("\n").toStdString();
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "50,000,000");
    EXPECT_GE(ticks, 3);
}

TEST_F(HugeNumberInput, load_number_keeps_the_window_responding_and_shows_the_digit_count)
{
    const std::string path = workFile("huge.txt");
    std::ofstream(path, std::ios::binary) << hugeNumber();
    dialogs.willAnswer(Answer::Yes);
    dialogs.willChooseFile(QString::fromStdString(path));
    const int ticks = ticksDuring(ui::ControlId::LoadNumber);

    EXPECT_EQ(currentNumber().size(), kDigits);
    EXPECT_TRUE(hasLine("Total digits: 50000000")) << lines().join("\n").toStdString();
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "50,000,000");
    EXPECT_GE(ticks, 3);
}
