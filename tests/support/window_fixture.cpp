#include "support/window_fixture.h"

#include <QTimer>
#include <atomic>

#include "ui/control_ids.h"
#include "shell/number_display.h"
#include "support/shared_fixtures.h"

namespace testing_support {

namespace fs = std::filesystem;

void WindowTest::SetUp()
{
    static std::atomic<int> serial{0};
    previousDir_ = fs::current_path();
    workDir_ = fs::temp_directory_path() /
               ("quendrolt-window-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    fs::remove_all(workDir_);
    fs::create_directories(workDir_);
    fs::current_path(workDir_);
    prepareWorkDir();
    app = std::make_unique<app::Application>(dialogs, clock, random);
    app->state().places = programPlaces();
    app->start();
}

void WindowTest::prepareWorkDir() { fs::create_symlink(sharedDivisorFile(), workDir_ / "base.div"); }

void WindowTest::TearDown()
{
    for (const DialogCall& call : dialogs.unexpected)
        ADD_FAILURE() << "unexpected dialog (" << call.kind.toStdString() << ") \"" << call.title.toStdString()
                      << "\": " << call.text.toStdString();
    EXPECT_EQ(dialogs.pendingReplies(), 0u) << "scripted replies left unused";
    app.reset();
    fs::current_path(previousDir_);
    std::error_code ignored;
    fs::remove_all(workDir_, ignored);
}

void WindowTest::tickStopAfter(int delayMs)
{
    QTimer::singleShot(delayMs, [this] { app->context().controls.setChecked(ui::ControlId::Stop, true); });
}

QStringList WindowTest::lines() const
{
    QStringList all;
    ui::ResultsList& results = app->context().results;
    for (int i = 0; i < results.count(); ++i)
        all << results.line(i);
    return all;
}

QString WindowTest::lastLine(int fromEnd) const
{
    ui::ResultsList& results = app->context().results;
    return results.line(results.count() - 1 - fromEnd);
}

void WindowTest::setCurrentNumber(const std::string& digits)
{
    app->state().currentNumber = digits;
    shell::numberChanged(app->context(), static_cast<int64_t>(digits.size()));
    shell::showCurrentNumberStatus(app->context());
}

void WindowTest::installTester()
{
    std::string tester = testerProgramPath();
    ASSERT_FALSE(tester.empty()) << "tester program not built";
    fs::copy_file(tester, workDir_ / "pfgw64_133mm.exe", fs::copy_options::overwrite_existing);
}

}  // namespace testing_support
