#pragma once
// The window's side of a run of the probable-prime tester, shared by the
// interactive run and the hidden check: where the program and the number
// file are, the messages, and what happens between two polls of the
// engine's process runner (engine/tester_process.h): the window handles its
// events, shows the output in the console or the progress beside Is_P, and
// STOP ends the run.
#include <QPointer>
#include <string>
#include <string_view>

#include "engine/tester_process.h"
#include "primality/console_window.h"
#include "shell/app_context.h"
#include "storage/number_files.h"

namespace primality {

using storage::kTesterProgram;

// Removes the tester's pfgw.ini and pfgw.out and writes digits to
// last_PRP.txt, all in the working directory. The writing of a number of
// millions of digits runs off the window thread. When last_PRP.txt cannot be
// written, says so in a message and returns false.
[[nodiscard]] bool prepareTesterFiles(shell::AppContext& ctx, const std::string& digits);

// True while a tester child exists (there is never more than one).
bool testerRunning();

class TesterRun {
public:
    enum class End { Finished, Stopped };
    enum class Start { Started, Missing, NotLaunched };

    // console: where the output goes as it comes; null for the hidden check.
    TesterRun(shell::AppContext& ctx, ConsoleWindow* console);
    ~TesterRun();
    TesterRun(const TesterRun&) = delete;
    TesterRun& operator=(const TesterRun&) = delete;

    // Finds and starts the tester on last_PRP.txt. When it is missing or does
    // not start, shows the message and says which.
    [[nodiscard]] Start start(std::string_view switches);
    // Until the tester ends, or STOP is ticked (the tester is then killed).
    [[nodiscard]] End follow();

    // The last output line that carried a recognised keyword; empty if none.
    const std::string& resultLine() const { return process_.resultLine(); }
    int64_t startMs() const { return startMs_; }

private:
    class Watch;
    void ended();

    shell::AppContext& ctx_;
    QPointer<ConsoleWindow> console_;
    engine::TesterProcess process_;
    int64_t startMs_ = 0;
};

}  // namespace primality
