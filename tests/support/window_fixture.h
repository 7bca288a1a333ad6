#pragma once
// The real main window, offscreen, started in a fresh temporary working
// directory that holds the shared base.div. Dialogs are scripted; a dialog the
// test did not script fails it.
#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>
#include <memory>

#include "app/application.h"
#include "support/fake_clock.h"
#include "support/scripted_dialogs.h"

namespace testing_support {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Where the started program finds the tester and help texts; by default
    // the working directory, as in a run directory.
    virtual shell::ProgramPlaces programPlaces() { return {}; }
    void TearDown() override;

    // What a user does.
    void click(int id) { app->context().controls.click(id); }
    void choose(int id, int index) { app->context().controls.choose(id, index); }
    void setText(int id, const QString& text) { app->context().controls.setText(id, text); }
    void tick(int id, bool on) { app->context().controls.setChecked(id, on); }
    // Ticks STOP once the next command has been waiting for delayMs.
    void tickStopAfter(int delayMs);

    QString text(int id) const { return app->context().controls.text(id); }
    bool checked(int id) const { return app->context().controls.checked(id); }
    bool enabled(int id) const { return app->context().controls.enabled(id); }
    bool visible(int id) const { return app->context().controls.visible(id); }

    QStringList lines() const;
    QString lastLine(int fromEnd = 0) const;
    bool hasLine(const QString& line) const { return lines().contains(line); }

    // Gives the program a current number as a command would.
    void setCurrentNumber(const std::string& digits);
    std::string& currentNumber() { return app->state().currentNumber; }

    // Copies the built tester program into the working directory.
    void installTester();
    std::filesystem::path workDir() const { return workDir_; }
    std::string workFile(const std::string& name) const { return (workDir_ / name).string(); }

    // Runs in the fresh working directory before the program starts; by
    // default it links the shared base.div there.
    virtual void prepareWorkDir();

    ScriptedDialogs dialogs;
    FakeClock clock;
    engine::SeededRandomSource random;
    std::unique_ptr<app::Application> app;

private:
    std::filesystem::path workDir_;
    std::filesystem::path previousDir_;
};

}  // namespace testing_support
