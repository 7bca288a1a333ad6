// The runner with the real tester program: the hidden check of large numbers
// and the interactive run, in a run directory whose path has blanks.
#include <QRegularExpression>

#include "ui/control_ids.h"
#include "support/fake_tester.h"
#include "support/window_fixture.h"

using namespace testing_support;

namespace {

const char* kMersenne127 = "170141183460469231731687303715884105727";
const char* kTwoPrimesAboveTheDivisors = "600000110000003";  // 20000003 x 30000001

}  // namespace

class TesterEndToEnd : public WindowTest {};

TEST_F(TesterEndToEnd, check_above_the_threshold_reads_the_real_testers_verdict)
{
    installTester();
    app->state().limits[engine::LargeNumbersStart] = 10;
    struct Case { const char* number; const char* verdict; };
    for (Case c : {Case{kMersenne127, "IT COULD BE A PRIME"}, Case{kTwoPrimesAboveTheDivisors, "IS COMPOSITE"}}) {
        setCurrentNumber(c.number);
        click(ui::ControlId::IsPrime);
        EXPECT_EQ(lastLine(4), "First check: Approved") << c.number;
        EXPECT_EQ(lastLine(2), QStringLiteral("Final verification: ") + c.verdict) << c.number;
    }
    EXPECT_EQ(text(ui::ControlId::Qty), "2");
}

TEST_F(TesterEndToEnd, interactive_run_in_a_directory_with_blanks_reports_the_testers_line)
{
    installTester();
    const std::filesystem::path runDir = workDir() / "run dir with blanks";
    std::filesystem::create_directory(runDir);
    std::filesystem::copy_file(workDir() / "pfgw64_133mm.exe", runDir / "pfgw64_133mm.exe");
    std::filesystem::current_path(runDir);

    struct Case { int mode; std::string number; const char* result; };
    for (const Case& c : {
             Case{8, kMersenne127,
                  R"(1701411834604692\.\.\.\.7303715884105727 is PRP! \(proven prime by the Lucas-Lehmer test\) .*)"},
             Case{0, "12345", R"(has factors: 3\*5)"},
             Case{5, kTwoPrimesAboveTheDivisors, R"(is composite: RES64: \[[0-9A-F]{16}\] .*)"},
         }) {
        setCurrentNumber(c.number);
        app->context().controls.setSelectedIndex(ui::ControlId::TestMode, c.mode);
        click(ui::ControlId::RunPrp);
        const QRegularExpression expected(QStringLiteral("^PFGW Result: ") + QString::fromUtf8(c.result) +
                                          QStringLiteral(" - Done in \\d+\\.\\d\\d s at 14:05 h - 12/06/2026$"));
        EXPECT_TRUE(expected.match(lastLine(1)).hasMatch()) << c.mode << ": " << lastLine(1).toStdString();
        EXPECT_EQ(readWholeFile((runDir / "last_PRP.txt").string()), c.number);
    }
}
