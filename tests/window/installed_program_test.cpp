// The program as `cmake --install` lays it out in a prefix (the test run
// installs the build into TEST_INSTALL_PREFIX first): its working files go to
// the user's data directory, the tester and the help texts come from the
// installed places.
#include <QDir>
#include <fstream>
#include <cstdlib>

#include "support/window_fixture.h"
#include "ui/control_ids.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr const char* kMersenne127 = "170141183460469231731687303715884105727";

class InstalledProgram : public WindowTest {
protected:
    void prepareWorkDir() override {}

    shell::ProgramPlaces programPlaces() override
    {
        dataHome_ = workDir() / "data-home";
        ::setenv("XDG_DATA_HOME", dataHome_.c_str(), 1);
        return shell::ProgramPlaces::forProgramIn(QString::fromStdString(std::string(TEST_INSTALL_PREFIX) + "/bin"));
    }

    void TearDown() override
    {
        ::unsetenv("XDG_DATA_HOME");
        WindowTest::TearDown();
    }

    fs::path dataFolder() const { return dataHome_ / "Quendrolt"; }

private:
    fs::path dataHome_;
};

}  // namespace

TEST_F(InstalledProgram, keeps_its_working_files_in_the_data_folder_and_tests_with_the_installed_tester)
{
    EXPECT_EQ(fs::current_path(), dataFolder());
    EXPECT_TRUE(fs::exists(dataFolder() / "base.div"));
    EXPECT_FALSE(fs::exists(fs::path(TEST_INSTALL_PREFIX) / "bin" / "base.div"));

    app->state().limits[engine::LargeNumbersStart] = 20;
    setCurrentNumber(kMersenne127);
    click(ui::ControlId::IsPrime);
    EXPECT_EQ(lastLine(2), "Final verification: IT COULD BE A PRIME");
    EXPECT_TRUE(fs::exists(dataFolder() / "last_PRP.txt"));

    click(ui::ControlId::UserManual);
    EXPECT_GT(lines().size(), 50) << "the manual comes from share/quendrolt";
}

TEST(ProgramPlaces, a_run_directory_keeps_everything_in_the_working_directory)
{
    const fs::path run = fs::temp_directory_path() / ("quendrolt-run-" + std::to_string(::getpid()));
    fs::create_directories(run);
    std::ofstream(run / "pfgw64_133mm.exe") << "#!/bin/sh\n";
    const QString before = QDir::currentPath();
    shell::ProgramPlaces places = shell::ProgramPlaces::forProgramIn(QString::fromStdString(run.string()));
    EXPECT_TRUE(places.testerDirectory.isEmpty());
    EXPECT_TRUE(places.helpDirectory.isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);
    fs::remove_all(run);
}
